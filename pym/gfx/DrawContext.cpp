#include "pym/gfx/DrawContext.h"

#include <algorithm>
#include <cmath>

namespace Pym::Gfx {

Rect Union(const Rect& a, const Rect& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    const float left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    return {left, top, std::max(a.x + a.width, b.x + b.width) - left,
            std::max(a.y + a.height, b.y + b.height) - top};
}

Rect Intersection(const Rect& a, const Rect& b) {
    const float left = std::max(a.x, b.x), top = std::max(a.y, b.y);
    const float right = std::min(a.x + a.width, b.x + b.width);
    const float bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

Rect PixelsAround(const Rect& rect, float margin) {
    const float left = std::floor(rect.x - margin), top = std::floor(rect.y - margin);
    return {left, top, std::ceil(rect.x + rect.width + margin) - left,
            std::ceil(rect.y + rect.height + margin) - top};
}

// Plain approximations for contexts without curves of their own.

bool DrawContext::DrawPolyline(const Pen& pen, const Point* points, int count) {
    bool ok = true;
    for (int i = 1; i < count; ++i) ok = DrawLine(pen, points[i - 1], points[i]) && ok;
    return ok;
}

bool DrawContext::FillEllipse(const Rect& rect, const ColourValue& colour) {
    return FillRect(rect, colour);
}

bool DrawContext::FillRoundedRect(const Rect& rect, float /*radius*/, const ColourValue& colour) {
    return FillRect(rect, colour);
}

bool DrawContext::DrawArc(const Pen& pen, Point centre, float radius, float fromDegrees,
                          float toDegrees) {
    constexpr int kSteps = 24;
    bool ok = true;
    Point last{centre.x + radius * std::cos(fromDegrees * float(M_PI) / 180.0f),
               centre.y + radius * std::sin(fromDegrees * float(M_PI) / 180.0f)};
    for (int i = 1; i <= kSteps; ++i) {
        const float degrees = fromDegrees + (toDegrees - fromDegrees) * i / kSteps;
        const Point next{centre.x + radius * std::cos(degrees * float(M_PI) / 180.0f),
                         centre.y + radius * std::sin(degrees * float(M_PI) / 180.0f)};
        ok = DrawLine(pen, last, next) && ok;
        last = next;
    }
    return ok;
}

}  // namespace Pym::Gfx
