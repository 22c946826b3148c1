#pragma once

#include <memory>

#include "pym/gfx/DrawContext.h"
#include "pym/gfx/Image.h"

namespace Pym::Gfx {

// A part of a drawing that looks the same from one refresh to the next (a meter's scale, a
// dial's rim): painted once into a picture of its own, then copied pixel for pixel until its
// area's size changes or its owner says its look did (Invalidate). Where the target cannot take
// a copy that looks the same (a scaled context, one that records calls), it is painted straight.
class CachedLayer {
public:
    void Invalidate() { stale_ = true; }
    // Whether the next Draw paints the layer anew (or straight) rather than copying it.
    bool Stale() const { return stale_; }

    // Draws the layer over `area` (whole pixels in the context's coordinates); `paint(context)`
    // draws its content in those same coordinates, whenever it has to be painted anew.
    template <class Paint>
    void Draw(DrawContext& context, const Rect& area, Paint&& paint) {
        if (DrawContext* painting = Open(context, area)) paint(*painting);
        Close(context, area);
    }

private:
    // The context to paint with: the layer's when it is stale, the target's when it cannot be
    // cached, none when the copy is still good.
    DrawContext* Open(DrawContext& context, const Rect& area);
    void Close(DrawContext& context, const Rect& area);

    std::shared_ptr<Image> image_;
    std::unique_ptr<DrawContext> painting_;
    bool copy_ = false;  // of the layer, at Close
    bool stale_ = true;
};

}  // namespace Pym::Gfx
