#include "pym/gfx/Region.h"

#include <algorithm>

namespace Pym::Gfx {

namespace {

bool Contains(const Rect& outer, const Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

}  // namespace

void Region::Add(const Rect& rect) {
    if (!(rect.width > 0 && rect.height > 0)) return;
    // Many small repaints of one spot (a blinking caret, a meter) must not pile up.
    for (const Rect& existing : rects_)
        if (Contains(existing, rect)) return;
    std::erase_if(rects_, [&rect](const Rect& existing) { return Contains(rect, existing); });
    rects_.push_back(rect);
}

bool Region::Intersects(const Rect& rect) const {
    return std::any_of(rects_.begin(), rects_.end(), [&rect](const Rect& r) {
        return r.x < rect.x + rect.width && rect.x < r.x + r.width && r.y < rect.y + rect.height &&
               rect.y < r.y + r.height;
    });
}

Rect Region::Bounds() const {
    if (rects_.empty()) return Rect{};
    float left = rects_[0].x, top = rects_[0].y;
    float right = left + rects_[0].width, bottom = top + rects_[0].height;
    for (const Rect& r : rects_) {
        left = std::min(left, r.x);
        top = std::min(top, r.y);
        right = std::max(right, r.x + r.width);
        bottom = std::max(bottom, r.y + r.height);
    }
    return Rect{left, top, right - left, bottom - top};
}

}  // namespace Pym::Gfx
