#include "vis/OScope.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "audio/PeakResampler.h"
#include "pym/core/XMLLoadSave.h"

namespace {

// The history of the curtain: one column per redraw, 20 redraws a second for some 25 s.
constexpr std::size_t kCurtainColumns = 512;

Pym::Gfx::Pen PenOf(TiXmlElement* element, bool required) {
    Pym::Gfx::Pen pen{Pym::ColourValue{255, 255, 138, 61}, OScope::kPenWidth};
    Pym::ColourPtr colour;
    if (element && Pym::XMLLoadSave::ReadAttribute(colour, element, "Color", required) && colour)
        pen.colour = *colour;
    return pen;
}

float Finite(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

}  // namespace

OScope::OScope(TiXmlElement* element, SampleSource source)
    : source_(std::move(source)), pen_(PenOf(element, true)) {}

float OScope::PositionOf(float value, int y, int h) {
    const float a = static_cast<float>(h - 2) / 2.0f;
    const int c = (h - 2) / 2;
    // Far beyond full scale a sample is still drawn off the rectangle, but at a coordinate the
    // drawing layer can take.
    const float offset = std::clamp(a * Finite(value), -1.0e6f, 1.0e6f);
    return static_cast<float>(y + 1 + c) + std::round(offset);
}

void OScope::Sample() {
    if (source_) block_ = source_();  // same length each time: no allocation after the first
    tracedArea_ = {};
}

void OScope::Trace(int x, int y, int w, int h) const {
    // A refresh asks what changed, then draws: the block is traced once for both.
    const Pym::Gfx::Rect area = AreaOf(x, y, w, h);
    if (area == tracedArea_) return;
    tracedArea_ = area;
    if (values_.size() != static_cast<std::size_t>(w)) {
        values_.assign(static_cast<std::size_t>(w), 0.0f);
        points_.resize(static_cast<std::size_t>(w));
    } else {
        std::fill(values_.begin(), values_.end(), 0.0f);
    }
    PeakKeepingResample(block_, values_, true);
    for (int i = 0; i < w; ++i)
        points_[static_cast<std::size_t>(i)] = {
            static_cast<float>(x + i), PositionOf(values_[static_cast<std::size_t>(i)], y, h)};
}

void OScope::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w < 2 || h <= 0) return;
    Trace(x, y, w, h);
    context.DrawPolyline(pen_, points_.data(), w);
    drawn_ = points_;
    drawnArea_ = AreaOf(x, y, w, h);
}

Pym::Gfx::Rect OScope::ChangedArea(const Pym::Gfx::Rect& area) const {
    if (!(area == drawnArea_)) return area;
    Trace(static_cast<int>(area.x), static_cast<int>(area.y), static_cast<int>(area.width),
          static_cast<int>(area.height));
    const bool same = std::equal(points_.begin(), points_.end(), drawn_.begin(), drawn_.end(),
                                 [](const Pym::Gfx::Point& a, const Pym::Gfx::Point& b) {
                                     return a.x == b.x && a.y == b.y;
                                 });
    if (same) return {};
    // The band the old and the new line cross, with the pen's reach: a quiet tone moves a few
    // rows of a tall display.
    float top = area.y + area.height, bottom = area.y;
    for (const std::vector<Pym::Gfx::Point>* line : {&std::as_const(points_), &drawn_})
        for (const Pym::Gfx::Point& p : *line) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    const Pym::Gfx::Rect band{area.x, top, area.width, bottom - top + 1.0f};
    return Pym::Gfx::Intersection(Pym::Gfx::PixelsAround(band, kPenWidth), area);
}

OScopeCurtain::OScopeCurtain(TiXmlElement* element, SampleSource source)
    : source_(std::move(source)), pen_(PenOf(element, false)), history_(kCurtainColumns, 0.0f) {}

void OScopeCurtain::Sample() {
    float strongest = 0.0f;
    if (source_)
        for (float sample : source_()) strongest = std::max(strongest, std::fabs(Finite(sample)));
    history_[next_] = std::min(strongest, 1.0f);
    next_ = (next_ + 1) % history_.size();
}

void OScopeCurtain::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 2) return;
    const int columns = std::min(w / 3, static_cast<int>(history_.size()));
    const float centre = static_cast<float>(y) + static_cast<float>(h) / 2.0f;
    const float reach = static_cast<float>(h - 2) / 2.0f;
    Pym::Gfx::Pen pen = pen_;
    // The newest column at the right edge, older ones to its left.
    for (int k = 0; k < columns; ++k) {
        const std::size_t at =
            (next_ + history_.size() - 1 - static_cast<std::size_t>(k)) % history_.size();
        const float half = std::max(0.5f, history_[at] * reach);
        const float column = static_cast<float>(x + w - 2 - 3 * k);
        context.DrawLine(pen, {column, centre - half}, {column, centre + half});
    }
}
