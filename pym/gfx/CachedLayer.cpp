#include "pym/gfx/CachedLayer.h"

#include "pym/gfx/Interpolation.h"

namespace Pym::Gfx {

DrawContext* CachedLayer::Open(DrawContext& context, const Rect& area) {
    const int width = static_cast<int>(area.width), height = static_cast<int>(area.height);
    copy_ = false;
    if (width <= 0 || height <= 0) return nullptr;
    if (!context.PixelAligned(area)) {
        stale_ = true;
        return &context;
    }
    copy_ = true;
    if (!stale_ && image_ && image_->Width() == width && image_->Height() == height) return nullptr;
    if (!image_ || image_->Width() != width || image_->Height() != height)
        image_ = Image::Blank(width, height);
    painting_ = context.LayerContext(*image_, area);
    stale_ = false;
    return painting_.get();
}

void CachedLayer::Close(DrawContext& context, const Rect& area) {
    painting_.reset();
    if (copy_) context.DrawImage(*image_, area, InterpolationNearestNeighbor);
}

}  // namespace Pym::Gfx
