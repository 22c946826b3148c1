#include "pym/gui/Image.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "pym/gfx/ImageServer.h"
#include "pym/gui/DownloadCache.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<Image>("Pym::Image", "$PYM/Objects/Image/Image.xml");

// The alpha of one pixel of a picture (0 = fully transparent).
int AlphaAt(const Gfx::Image& picture, int x, int y) {
    return static_cast<int>(picture.PixelAt(x, y) >> 24);
}

Gfx::ImagePtr CopyOfPart(const Gfx::Image& picture, int x, int y, int width, int height) {
    Gfx::ImagePtr part = Gfx::Image::Blank(width, height);
    cairo_t* cr = cairo_create(part->Surface());
    cairo_translate(cr, -x, -y);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    picture.Paint(cr, CAIRO_FILTER_NEAREST);
    cairo_destroy(cr);
    return part;
}

bool IsReadableFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && std::ifstream(path).good();
}

}  // namespace

Image::Image() : GuiObject(/*notSelectable=*/1, /*sizeLocked=*/0) {}

bool Image::LoadFromXml(TiXmlElement* element) {
    if (!GuiObject::LoadFromXml(element)) return false;
    std::string path;
    if (!ReadAttribute(path, element, "ImageFile") && !ReadAttribute(path, element, "Filename")) {
        Trace("Image: ImageFile attribute missing in xml");
        return false;
    }
    std::string mode;
    if (ReadAttribute(mode, element, "InterpMode"))
        interpolation_ =
            Gfx::ParseInterpolation(mode, static_cast<Gfx::Interpolation>(interpolation_));
    ReadAttribute(useCache_, element, "UseCache");
    if (!SetImage(path, false)) {
        Trace("Image: failed to load image " + path);
        return false;
    }
    return true;
}

bool Image::SetImage(const std::string& path, bool keepSize) {
    GfxLayerImageServer_& server = DllGfxLayerImageServerInstance();
    // Nothing changes until the new picture has been read, so a bad file leaves the old one.
    try {
        Gfx::ImagePtr natural;
        if (keepSize || !useCache_) natural = server.GetImage(true, path, -1, -1, 0);
        if (keepSize)
            Resize(natural->Width(), natural->Height());
        else
            Resize(GetWidth(), GetHeight());
        // Read now, so that a bad file is known; made at a size when first drawn.
        if (useCache_)
            server.Check(path);
        else
            unscaled_ = natural;
    } catch (const Gfx::Image::InvalidImageException&) {
        Trace("Pym::Image::SetImage : Failed to create image " + path);
        return false;
    }
    path_ = path;
    lastShown_.reset();
    return true;
}

void Image::SetUseCache(bool useCache) {
    if (useCache == useCache_) return;
    useCache_ = useCache;
    unscaled_.reset();
    if (!path_.empty()) SetImage(path_, false);
}

bool Image::SetImageFromAddress(const std::string& address, const std::string& cacheFolder,
                                bool keepSize) {
    if (!DownloadCache::IsWebAddress(address)) {
        const std::string copy = cacheFolder + address + ".jpg";
        return SetImage(IsReadableFile(copy) ? copy : address, keepSize);
    }
    const std::string local = DownloadCache::LocalPath(cacheFolder, address);
    const bool fresh = !IsReadableFile(local);
    if (fresh && !Download(address, local)) return false;
    if (SetImage(local, keepSize)) return true;
    // What came back was no picture (an error page, say): keep nothing, so a later call
    // fetches it again instead of finding the bad copy.
    if (fresh) {
        std::error_code error;
        std::filesystem::remove(local, error);
    }
    return false;
}

bool Image::Download(const std::string& address, const std::string& localPath) {
    Platform::HttpFetcher fetcher(downloadOptions_);
    if (fetcher.Fetch(address, localPath)) return true;
    Trace("Pym::Image::SetImageFromAddress : Failed to download " + address + " (" +
          fetcher.LastError() + ")");
    return false;
}

Gfx::ImagePtr Image::Picture() const {
    if (!useCache_) return unscaled_;
    if (path_.empty() || GetWidth() < 1 || GetHeight() < 1) return lastShown_;
    try {
        lastShown_ = DllGfxLayerImageServerInstance().GetImage(true, path_, GetWidth(), GetHeight(),
                                                               interpolation_);
    } catch (const Gfx::Image::InvalidImageException&) {
        // The file went away after it was shown: keep showing what was there.
    }
    return lastShown_;
}

Gfx::Rect Image::Frame() const {
    return Gfx::Rect{static_cast<float>(GetX()), static_cast<float>(GetY()),
                     static_cast<float>(GetWidth()), static_cast<float>(GetHeight())};
}

bool Image::DrawSelf(Gfx::DrawContext& context) {
    if (!IsVisible()) return true;
    Gfx::ImagePtr picture = Picture();
    if (!picture) return true;
    // The server's picture already has the widget's size: it is only copied.
    const int interpolation = useCache_ ? Gfx::InterpolationDefault : interpolation_;
    return context.DrawImage(*picture, Frame(), interpolation);
}

bool Image::DrawPart(Gfx::DrawContext& target, const Gfx::Rect& source,
                     const Gfx::Rect& destination) {
    Gfx::ImagePtr picture = Picture();
    if (!picture || GetWidth() < 1 || GetHeight() < 1) return true;
    if (destination.width <= 0 || destination.height <= 0) return true;
    // Widget units to picture pixels (the cached picture has the widget's size), whole pixels
    // of the picture only.
    const double fx = static_cast<double>(picture->Width()) / GetWidth();
    const double fy = static_cast<double>(picture->Height()) / GetHeight();
    const int left = std::max(0, static_cast<int>(source.x * fx));
    const int top = std::max(0, static_cast<int>(source.y * fy));
    const int right = std::min(picture->Width(), static_cast<int>((source.x + source.width) * fx));
    const int bottom =
        std::min(picture->Height(), static_cast<int>((source.y + source.height) * fy));
    if (right <= left || bottom <= top) return true;
    // Scaled on its own, the part cannot pick up colour from the pixels around it.
    return target.DrawImage(*CopyOfPart(*picture, left, top, right - left, bottom - top),
                            destination, interpolation_);
}

bool Image::HitTestLocal(int x, int y) const {
    if (!GuiObject::HitTestLocal(x, y)) return false;
    Gfx::ImagePtr picture =
        lastShown_ && lastShown_->Width() == GetWidth() && lastShown_->Height() == GetHeight()
            ? lastShown_
            : Picture();
    if (!picture) return true;
    const int px = static_cast<int>(static_cast<long>(x) * picture->Width() / GetWidth());
    const int py = static_cast<int>(static_cast<long>(y) * picture->Height() / GetHeight());
    return AlphaAt(*picture, px, py) != 0;
}

}  // namespace Pym
