#include "vis/BeatVis.h"

#include <algorithm>
#include <cmath>

namespace {

// A phase as the displays draw it: in [0, 1], and the end of the beat when it is no number.
float PhaseOf(const ValueSource& source) {
    const float phase = source ? source() : 1.0f;
    return std::isfinite(phase) ? std::clamp(phase, 0.0f, 1.0f) : 1.0f;
}

int Nearest(float value) {
    return static_cast<int>(std::lround(value));
}

// Fills the part of (left, top, width, height) that lies inside the view's rectangle.
void FillInside(Pym::Gfx::DrawContext& context, int left, int top, int width, int height, int x,
                int y, int w, int h, const Pym::ColourValue& colour) {
    const int x0 = std::max(left, x), x1 = std::min(left + width, x + w);
    const int y0 = std::max(top, y), y1 = std::min(top + height, y + h);
    if (x1 > x0 && y1 > y0)
        context.FillRect({static_cast<float>(x0), static_cast<float>(y0),
                          static_cast<float>(x1 - x0), static_cast<float>(y1 - y0)},
                         colour);
}

}  // namespace

BeatVis::BeatVis(const TiXmlElement* element, ValueSource beat, ValueSource bar)
    : beatSource_(std::move(beat)), barSource_(std::move(bar)) {
    ReadVisColour(brush_, element, "Color");
}

void BeatVis::Sample() {
    beat_ = PhaseOf(beatSource_);
    bar_ = PhaseOf(barSource_);
}

int BeatVis::ColumnTop(float phase, int y, int h) {
    return y + std::min(Nearest(phase * static_cast<float>(h)), h - 1);
}

void BeatVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    const int column = std::max(w / 5, 1);
    const float phases[] = {beat_, bar_};
    const int lefts[] = {x + w / 5, x + 3 * (w / 5)};
    for (int i = 0; i < 2; ++i) {
        const int top = ColumnTop(phases[i], y, h);
        FillInside(context, lefts[i], top, column, y + h - top, x, y, w, h, brush_);
    }
    Remember(w, h);
}

bool BeatVis::ChangedParts(int w, int h, std::vector<Pym::Gfx::Rect>& parts) const {
    if (!LastDrawn().Same(w, h)) return false;
    const int column = std::max(w / 5, 1);
    const float before[] = {LastDrawn().beat, LastDrawn().bar}, now[] = {beat_, bar_};
    const int lefts[] = {w / 5, 3 * (w / 5)};
    for (int i = 0; i < 2; ++i) {
        const int from = ColumnTop(before[i], 0, h), to = ColumnTop(now[i], 0, h);
        if (from != to)
            parts.push_back({static_cast<float>(lefts[i]), static_cast<float>(std::min(from, to)),
                             static_cast<float>(column), static_cast<float>(std::abs(to - from))});
    }
    return true;
}

void BarVis::Markers(float beat, float bar, int w, int h, Pym::Gfx::Rect (&markers)[4]) {
    const int half = w / 2;
    const int marker = std::max(w / 25, 1);
    const int beatAt = -w / 50 + Nearest(beat * static_cast<float>(half));
    const int barAt = -w / 50 + Nearest(bar * static_cast<float>(half));
    for (int copy = 0; copy < 2; ++copy) {
        markers[2 * copy] = {static_cast<float>(beatAt + copy * half), static_cast<float>(h / 4),
                             static_cast<float>(marker), static_cast<float>(h - 2 * (h / 4))};
        markers[2 * copy + 1] = {static_cast<float>(barAt + copy * half),
                                 static_cast<float>(h / 10), static_cast<float>(marker),
                                 static_cast<float>(h - 2 * (h / 10))};
    }
}

void BarVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    Pym::Gfx::Rect markers[4];
    Markers(Beat(), Bar(), w, h, markers);
    for (const Pym::Gfx::Rect& m : markers)
        FillInside(context, x + static_cast<int>(m.x), y + static_cast<int>(m.y),
                   static_cast<int>(m.width), static_cast<int>(m.height), x, y, w, h, brush_);
    FillInside(context, x + w / 2 - 1, y, 2, h, x, y, w, h, brush_);
    Remember(w, h);
}

bool BarVis::ChangedParts(int w, int h, std::vector<Pym::Gfx::Rect>& parts) const {
    if (!LastDrawn().Same(w, h)) return false;
    Pym::Gfx::Rect before[4], now[4];
    Markers(LastDrawn().beat, LastDrawn().bar, w, h, before);
    Markers(Beat(), Bar(), w, h, now);
    for (int i = 0; i < 4; ++i)
        if (!(before[i] == now[i])) {
            parts.push_back(before[i]);
            parts.push_back(now[i]);
        }
    return true;
}
