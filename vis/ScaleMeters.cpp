#include "vis/ScaleMeters.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "pym/gfx/Font.h"

namespace {

using Pym::Gfx::Point;
using Pym::Gfx::Rect;

constexpr float kSweep = 100.0f;   // degrees of the meter's arc
constexpr float kMiddle = -90.0f;  // the arc's middle points straight up

Pym::ColourValue Faded(Pym::ColourValue colour, int alpha) {
    colour.alpha = alpha;
    return colour;
}

float Radians(float degrees) {
    return degrees * static_cast<float>(M_PI) / 180.0f;
}

}  // namespace

const Pym::Gfx::Font& VisFont(float pixels, bool bold) {
    // Fonts by whole pixel size: a handful for the whole kit, made once.
    static std::map<std::pair<int, bool>, std::unique_ptr<Pym::Gfx::Font>> fonts;
    const int size = std::clamp(static_cast<int>(std::lround(pixels)), 6, 200);
    auto& font = fonts[{size, bold}];
    if (!font) {
        Pym::FontDescription description{"Inter, DejaVu Sans", static_cast<float>(size),
                                         bold ? Pym::FontStyleBold : Pym::FontStyleRegular,
                                         Pym::FontSizePoint};
        font = std::make_unique<Pym::Gfx::Font>(description, 1.0, 1.0);
    }
    return *font;
}

void Meter::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w < 8 || h < 8) return;
    const float label = std::clamp(h * 0.09f, 8.0f, 18.0f);
    // The arc's circle, its centre below the rectangle's middle: as large as its labels at the
    // ends and the top, and the unit's text under the arc, allow.
    const float half = Radians(kSweep / 2.0f);
    // (The arc is at most 9 pixels thick: its outer half takes up to 5 of them.)
    const float radius = std::min((w / 2.0f - 2.0f * label) / std::sin(half) - 0.8f * label - 5.0f,
                                  (h - 3.2f * label - 5.0f) / 0.55f);
    if (radius < 4.0f) return;
    const Point centre{x + w / 2.0f, y + 1.6f * label + 5.0f + radius};
    const auto at = [&](float place, float r) {
        const float angle = Radians(kMiddle + (place - 0.5f) * kSweep);
        return Point{centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
    };
    const float thick = std::clamp(radius * 0.045f, 2.0f, 9.0f);
    // The tinted arc: flat, in tune, sharp.
    const float band = inTuneBand_ / 2.0f;
    const float from = kMiddle - kSweep / 2.0f, to = kMiddle + kSweep / 2.0f;
    context.DrawArc({Faded(flat_, 120), thick}, centre, radius, from, kMiddle - band * kSweep);
    context.DrawArc({Faded(sharp_, 120), thick}, centre, radius, kMiddle + band * kSweep, to);
    context.DrawArc({inTune_, thick}, centre, radius, kMiddle - band * kSweep,
                    kMiddle + band * kSweep);
    // Marks and labels.
    for (const Mark& mark : Marks()) {
        const float length = mark.label == "0" ? thick * 3.0f : thick * 2.0f;
        context.DrawLine({markColour_, 1.5f}, at(mark.place, radius - thick - length),
                         at(mark.place, radius - thick));
        const Point text = at(mark.place, radius + thick / 2.0f + label * 0.8f);
        context.DrawString(
            VisFont(label), mark.label,
            {text.x - 2.0f * label, text.y - label * 0.7f, 4.0f * label, label * 1.4f}, markColour_,
            Pym::Gfx::TextAlignment::Center, Pym::Gfx::TextTrimming::None);
    }
    // The unit in the corner the needle never covers.
    context.DrawString(VisFont(label * 0.9f), Unit(),
                       {x + 4.0f, y + h - label * 1.5f, 8.0f * label, label * 1.4f}, markColour_,
                       Pym::Gfx::TextAlignment::Near, Pym::Gfx::TextTrimming::None);
    // The needle, coloured by where it points, and its pivot.
    const float place = ShownPlace();
    const Point tip = at(place, radius - thick);
    const Point foot = at(place, radius * 0.35f);
    context.DrawLine({ColourAt(place), std::clamp(thick * 0.5f, 2.0f, 4.0f)}, foot, tip);
    const float pivot = std::clamp(thick * 0.9f, 3.0f, 8.0f);
    context.FillEllipse({foot.x - pivot, foot.y - pivot, 2 * pivot, 2 * pivot}, ColourAt(place));
}

void SlidingMeter::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w < 8 || h < 6) return;
    const float label = std::clamp(h * 0.3f, 8.0f, 16.0f);
    const bool labels = h >= 3.0f * label;
    const float inset = labels ? label * 2.0f : 4.0f;
    const float left = x + inset, right = x + w - inset, width = right - left;
    const float trackHeight = std::clamp(h * 0.14f, 3.0f, 8.0f);
    const float track = y + (labels ? h * 0.38f : h / 2.0f);
    context.FillRoundedRect({left, track - trackHeight / 2, width, trackHeight}, trackHeight / 2,
                            Faded(markColour_, 70));
    const float band = inTuneBand_ / 2.0f;
    context.FillRoundedRect(
        {left + (0.5f - band) * width, track - trackHeight / 2, 2 * band * width, trackHeight},
        trackHeight / 2, Faded(inTune_, 150));
    for (const Mark& mark : Marks()) {
        const float mx = left + mark.place * width;
        context.DrawLine({markColour_, 1.0f}, {mx, track + trackHeight},
                         {mx, track + trackHeight * 2});
        if (labels)
            context.DrawString(
                VisFont(label), mark.label,
                {mx - 2.0f * label, track + trackHeight * 2, 4.0f * label, label * 1.4f},
                markColour_, Pym::Gfx::TextAlignment::Center, Pym::Gfx::TextTrimming::None);
    }
    const float place = ShownPlace();
    const float marker = std::clamp(h * 0.5f, 6.0f, 22.0f);
    const float mx = left + place * width;
    context.FillRoundedRect({mx - marker * 0.2f, track - marker / 2, marker * 0.4f, marker},
                            marker * 0.2f, ColourAt(place));
}

void Fret::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w < 8 || h < 6) return;
    const Scale& scale = CurrentScale();
    const float span = scale.high - scale.low;
    const float string = y + h / 2.0f;
    const float inset = 4.0f;
    const float left = x + inset, width = w - 2 * inset;
    const float target = (scale.low + scale.high) / 2.0f;
    if (span > 0.0f && target > 0.0f && std::isfinite(span)) {
        // Fret wires wherever a semitone from the target lands on the scale.
        for (int k = -48; k <= 48; ++k) {
            const float frequency = target * std::pow(2.0f, k / 12.0f);
            const float place = (frequency - scale.low) / span;
            if (place < 0.0f || place > 1.0f) continue;
            const float fx = left + place * width;
            const bool own = k == 0;
            context.FillRect({fx - (own ? 1.5f : 1.0f), static_cast<float>(y + 2),
                              own ? 3.0f : 2.0f, static_cast<float>(h - 4)},
                             own ? inTune_ : Faded(markColour_, 160));
        }
    }
    context.DrawLine({Faded(markColour_, 200), std::max(1.0f, h * 0.04f)}, {left, string},
                     {left + width, string});
    const float place = ShownPlace();
    const float dot = std::clamp(h * 0.22f, 3.0f, 14.0f);
    const float dx = left + place * width;
    context.FillEllipse({dx - dot, string - dot, 2 * dot, 2 * dot}, ColourAt(place));
}
