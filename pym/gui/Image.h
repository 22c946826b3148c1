#pragma once

#include <string>

#include "platform/HttpFetcher.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gfx/Image.h"
#include "pym/gfx/Interpolation.h"
#include "pym/gui/GuiObject.h"

namespace Pym {

// One picture filling the widget. With the cache (the default) the image server makes the
// picture once at the widget's size and drawing only copies it; without it the picture is
// kept at its own size and stretched on every draw. Transparent pixels are not part of the
// widget, so shaped skins only take clicks where something is drawn.
class Image : public GuiObject {
public:
    Image();

    virtual bool IsImage() const { return true; }
    // Shows the picture at `path`; with keepSize the widget takes the picture's own size. A
    // file that cannot be read as a picture leaves the current one and gives false.
    virtual bool SetImage(const std::string& path, bool keepSize);
    // As SetImage, for a web address downloaded once into `cacheFolder`, or for a local name
    // that may have a copy "<cacheFolder><address>.jpg". False when the download fails.
    virtual bool SetImageFromAddress(const std::string& address, const std::string& cacheFolder,
                                     bool keepSize);
    // Draws the part `source` (in widget units) of the picture into `destination`.
    virtual bool DrawPart(Gfx::DrawContext& target, const Gfx::Rect& source,
                          const Gfx::Rect& destination);

    bool DrawSelf(Gfx::DrawContext& context) override;
    bool HitTestLocal(int x, int y) const override;

    const std::string& GetPath() const { return path_; }
    int GetInterpolation() const { return interpolation_; }
    bool UsesCache() const { return useCache_; }
    // Switching takes the current picture along.
    void SetUseCache(bool useCache);
    void SetDownloadOptions(const Platform::HttpFetcher::Options& options) {
        downloadOptions_ = options;
    }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    // The picture as drawn now: at the widget's size with the cache, at its own size without;
    // the last good one when the file can no longer be read; null before any.
    Gfx::ImagePtr Picture() const;
    // The widget's rectangle in its parent's coordinates, where DrawSelf draws.
    Gfx::Rect Frame() const;
    bool Download(const std::string& address, const std::string& localPath);

    std::string path_;
    int interpolation_ = Gfx::InterpolationHighQualityBicubic;
    bool useCache_ = true;
    Gfx::ImagePtr unscaled_;
    mutable Gfx::ImagePtr lastShown_;
    Platform::HttpFetcher::Options downloadOptions_;
};

}  // namespace Pym
