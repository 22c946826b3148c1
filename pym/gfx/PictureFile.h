#pragma once

#include <memory>
#include <string>

#include "pym/gfx/Image.h"
#include "pym/gfx/RenderCache.h"

typedef struct _RsvgHandle RsvgHandle;

namespace Pym::Gfx {

// A picture file read and parsed once. A vector picture keeps its parsed document and is
// rendered at each size asked for; a bitmap is decoded once, at its own size. Checking a
// skin's picture at start costs a parse, not a rendering at a size nobody draws. A vector
// picture met before (see RenderCache) is not even parsed until a size is asked for that the
// cache does not hold.
class PictureFile {
public:
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    // Reads `path`: null when it is no picture (unreadable, broken, or larger than pictures
    // may be). Only regular files are read.
    static std::unique_ptr<PictureFile> Read(const std::string& path);
    // As Read, for a file already in memory; `path` tells an SVG by its extension and is
    // where an SVG's own references resolve.
    static std::unique_ptr<PictureFile> Parse(const std::string& bytes, const std::string& path);

    // The picture rendered at width x height for a vector picture (its own size when either is
    // below 1); a bitmap at its own size whatever is asked. Null when it cannot be rendered.
    ImagePtr Render(int width, int height) const;

    bool IsVector() const { return vector_; }

    // What the render cache knows a vector picture by.
    static RenderCache::Key RenderKey(const std::string& bytes, const std::string& path);

private:
    PictureFile() = default;
    // The parsed document, parsed now if it was not yet; null when it cannot be.
    RsvgHandle* Svg() const;

    bool vector_ = false;
    std::string svgBytes_;
    std::string path_;
    RenderCache::Key key_;
    mutable RsvgHandle* svg_ = nullptr;
    ImagePtr bitmap_;
};

}  // namespace Pym::Gfx
