#pragma once

#include <librsvg/rsvg.h>

#include <memory>
#include <string>

#include "pym/gfx/Image.h"

namespace Pym::Gfx {

// A picture file read and parsed once. A vector picture keeps its parsed document and is
// rendered at each size asked for; a bitmap is decoded once, at its own size. Checking a
// skin's picture at start costs a parse, not a rendering at a size nobody draws.
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

    bool IsVector() const { return svg_ != nullptr; }

private:
    PictureFile() = default;

    RsvgHandle* svg_ = nullptr;
    ImagePtr bitmap_;
};

}  // namespace Pym::Gfx
