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
}

void BarVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    const int half = w / 2;
    const int marker = std::max(w / 25, 1);
    const int beatAt = x - w / 50 + Nearest(Beat() * static_cast<float>(half));
    const int barAt = x - w / 50 + Nearest(Bar() * static_cast<float>(half));
    for (int copy = 0; copy < 2; ++copy) {
        FillInside(context, beatAt + copy * half, y + h / 4, marker, h - 2 * (h / 4), x, y, w, h,
                   brush_);
        FillInside(context, barAt + copy * half, y + h / 10, marker, h - 2 * (h / 10), x, y, w, h,
                   brush_);
    }
    FillInside(context, x + half - 1, y, 2, h, x, y, w, h, brush_);
}
