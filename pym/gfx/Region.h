#pragma once

#include <vector>

#include "pym/gfx/DrawContext.h"

namespace Pym::Gfx {

// An area made of rectangles: what needs repainting, or where drawing may go.
class Region {
public:
    // Rectangles without positive width and height add nothing.
    void Add(const Rect& rect);
    void Clear() { rects_.clear(); }
    bool Empty() const { return rects_.empty(); }
    bool Intersects(const Rect& rect) const;
    Rect Bounds() const;
    const std::vector<Rect>& Rects() const { return rects_; }

private:
    std::vector<Rect> rects_;
};

}  // namespace Pym::Gfx
