#include "pym/gfx/DrawContext.h"

#include <algorithm>
#include <cmath>

namespace Pym::Gfx {

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
