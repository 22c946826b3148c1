#include "pym/gfx/LineCoverage.h"

#include <algorithm>
#include <cmath>

namespace Pym::Gfx {

namespace {

struct Span {
    int first = 0;
    int last = -1;  // inclusive; last < first when empty
};

// The pixels of `mask` along one axis that a segment from `a` to `b` can reach.
Span Reach(float a, float b, float reach, int origin, int size) {
    const float low = std::min(a, b) - reach - static_cast<float>(origin) - 0.5f;
    const float high = std::max(a, b) + reach - static_cast<float>(origin) - 0.5f;
    Span span;
    span.first = static_cast<int>(std::max(std::ceil(low), 0.0f));
    span.last = static_cast<int>(std::min(std::floor(high), static_cast<float>(size - 1)));
    return span;
}

bool Finite(const Point& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

double PolylineCost(const Point* points, int count, float width, const CoverageMask& mask) {
    const float reach = width / 2.0f + 0.5f;
    double cost = 0.0;
    for (int i = 1; i < count && Finite(points[i - 1]) && Finite(points[i]); ++i) {
        const Span columns = Reach(points[i - 1].x, points[i].x, reach, mask.left, mask.width);
        const Span rows = Reach(points[i - 1].y, points[i].y, reach, mask.top, mask.height);
        if (columns.last >= columns.first && rows.last >= rows.first)
            cost += static_cast<double>(columns.last - columns.first + 1) *
                    static_cast<double>(rows.last - rows.first + 1);
    }
    return cost;
}

void AddPolyline(const Point* points, int count, float width, CoverageMask& mask) {
    const float half = width / 2.0f;
    const float reach = half + 0.5f;
    const float whole = std::max(half - 0.5f, 0.0f);
    for (int i = 1; i < count && Finite(points[i - 1]) && Finite(points[i]); ++i) {
        const Point a = points[i - 1];
        const Point b = points[i];
        const Span columns = Reach(a.x, b.x, reach, mask.left, mask.width);
        const Span rows = Reach(a.y, b.y, reach, mask.top, mask.height);
        const float vx = b.x - a.x, vy = b.y - a.y;
        const float length2 = vx * vx + vy * vy;
        for (int r = rows.first; r <= rows.last; ++r) {
            const float py = static_cast<float>(mask.top + r) + 0.5f - a.y;
            std::uint8_t* line = mask.pixels + static_cast<std::ptrdiff_t>(r) * mask.stride;
            for (int c = columns.first; c <= columns.last; ++c) {
                const float px = static_cast<float>(mask.left + c) + 0.5f - a.x;
                const float t =
                    length2 > 0.0f ? std::clamp((px * vx + py * vy) / length2, 0.0f, 1.0f) : 0.0f;
                const float dx = px - t * vx, dy = py - t * vy;
                const float distance2 = dx * dx + dy * dy;
                if (distance2 >= reach * reach) continue;
                const float coverage = distance2 <= whole * whole
                                           ? 1.0f
                                           : std::min(reach - std::sqrt(distance2), 1.0f);
                const auto value = static_cast<std::uint8_t>(std::lround(coverage * 255.0f));
                line[c] = std::max(line[c], value);
            }
        }
    }
}

}  // namespace Pym::Gfx
