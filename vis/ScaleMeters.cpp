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

namespace {

// Where a meter's arc lies in its rectangle; no radius when the rectangle is too small.
struct Dial {
    float label = 0.0f;
    float radius = 0.0f;
    float thick = 0.0f;
    Point centre;

    Point At(float place, float r) const {
        const float angle = Radians(kMiddle + (place - 0.5f) * kSweep);
        return Point{centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
    }
};

// The needle of a dial pointing at a place: its line and its pivot.
struct Needle {
    Point foot, tip;
    float width;
    Rect pivot;
};

Needle NeedleOf(const Dial& dial, float place) {
    const Point foot = dial.At(place, dial.radius * 0.35f);
    const float pivot = std::clamp(dial.thick * 0.9f, 3.0f, 8.0f);
    return {foot,
            dial.At(place, dial.radius - dial.thick),
            std::clamp(dial.thick * 0.5f, 2.0f, 4.0f),
            {foot.x - pivot, foot.y - pivot, 2 * pivot, 2 * pivot}};
}

Dial DialOf(int x, int y, int w, int h) {
    Dial dial;
    if (w < 8 || h < 8) return dial;
    dial.label = std::clamp(h * 0.09f, 8.0f, 18.0f);
    // The arc's circle, its centre below the rectangle's middle: as large as its labels at the
    // ends and the top, and the unit's text under the arc, allow.
    const float half = Radians(kSweep / 2.0f);
    // (The arc is at most 9 pixels thick: its outer half takes up to 5 of them.)
    const float radius =
        std::min((w / 2.0f - 2.0f * dial.label) / std::sin(half) - 0.8f * dial.label - 5.0f,
                 (h - 3.2f * dial.label - 5.0f) / 0.55f);
    if (radius < 4.0f) return dial;
    dial.radius = radius;
    dial.centre = {x + w / 2.0f, y + 1.6f * dial.label + 5.0f + radius};
    dial.thick = std::clamp(radius * 0.045f, 2.0f, 9.0f);
    return dial;
}

// Where a sliding meter's track lies in its rectangle.
struct Track {
    float label, left, width, middle, height;
    bool labels;
};

Track TrackOf(int x, int y, int w, int h) {
    const float label = std::clamp(h * 0.3f, 8.0f, 16.0f);
    const bool labels = h >= 3.0f * label;
    const float inset = labels ? label * 2.0f : 4.0f;
    return {label,
            x + inset,
            w - 2.0f * inset,
            y + (labels ? h * 0.38f : h / 2.0f),
            std::clamp(h * 0.14f, 3.0f, 8.0f),
            labels};
}

}  // namespace

void Meter::DrawScale(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    const Dial dial = DialOf(x, y, w, h);
    if (dial.radius <= 0.0f) return;
    const float label = dial.label, radius = dial.radius, thick = dial.thick;
    // The tinted arc: flat, in tune, sharp.
    const float band = inTuneBand_ / 2.0f;
    const float from = kMiddle - kSweep / 2.0f, to = kMiddle + kSweep / 2.0f;
    context.DrawArc({Faded(flat_, 120), thick}, dial.centre, radius, from, kMiddle - band * kSweep);
    context.DrawArc({Faded(sharp_, 120), thick}, dial.centre, radius, kMiddle + band * kSweep, to);
    context.DrawArc({inTune_, thick}, dial.centre, radius, kMiddle - band * kSweep,
                    kMiddle + band * kSweep);
    // Marks and labels.
    for (const Mark& mark : Marks()) {
        const float length = mark.label == "0" ? thick * 3.0f : thick * 2.0f;
        context.DrawLine({markColour_, 1.5f}, dial.At(mark.place, radius - thick - length),
                         dial.At(mark.place, radius - thick));
        const Point text = dial.At(mark.place, radius + thick / 2.0f + label * 0.8f);
        context.DrawString(
            VisFont(label), mark.label,
            {text.x - 2.0f * label, text.y - label * 0.7f, 4.0f * label, label * 1.4f}, markColour_,
            Pym::Gfx::TextAlignment::Center, Pym::Gfx::TextTrimming::None);
    }
    // The unit in the corner the needle never covers.
    context.DrawString(VisFont(label * 0.9f), Unit(),
                       {x + 4.0f, y + h - label * 1.5f, 8.0f * label, label * 1.4f}, markColour_,
                       Pym::Gfx::TextAlignment::Near, Pym::Gfx::TextTrimming::None);
}

void Meter::DrawMarker(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    const Dial dial = DialOf(x, y, w, h);
    if (dial.radius <= 0.0f) return;
    // The needle, coloured by where it points, and its pivot.
    const Needle needle = NeedleOf(dial, ShownPlace());
    context.DrawLine({ColourAt(ShownPlace()), needle.width}, needle.foot, needle.tip);
    context.FillEllipse(needle.pivot, ColourAt(ShownPlace()));
}

Pym::Gfx::Rect Meter::MarkerBounds(int x, int y, int w, int h, float place) const {
    const Dial dial = DialOf(x, y, w, h);
    if (dial.radius <= 0.0f) return {};
    const Needle needle = NeedleOf(dial, place);
    // A line's caps reach past its ends by less than its width.
    const Pym::Gfx::Rect line{
        std::min(needle.foot.x, needle.tip.x), std::min(needle.foot.y, needle.tip.y),
        std::fabs(needle.tip.x - needle.foot.x), std::fabs(needle.tip.y - needle.foot.y)};
    return Union(Pym::Gfx::PixelsAround(line, needle.width), needle.pivot);
}

void SlidingMeter::DrawScale(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w < 8 || h < 6) return;
    const Track track = TrackOf(x, y, w, h);
    const float top = track.middle - track.height / 2, radius = track.height / 2;
    context.FillRoundedRect({track.left, top, track.width, track.height}, radius,
                            Faded(markColour_, 70));
    const float band = inTuneBand_ / 2.0f;
    context.FillRoundedRect(
        {track.left + (0.5f - band) * track.width, top, 2 * band * track.width, track.height},
        radius, Faded(inTune_, 150));
    const float label = track.label, below = track.middle + track.height;
    for (const Mark& mark : Marks()) {
        const float mx = track.left + mark.place * track.width;
        context.DrawLine({markColour_, 1.0f}, {mx, below}, {mx, below + track.height});
        if (track.labels)
            context.DrawString(
                VisFont(label), mark.label,
                {mx - 2.0f * label, below + track.height, 4.0f * label, label * 1.4f}, markColour_,
                Pym::Gfx::TextAlignment::Center, Pym::Gfx::TextTrimming::None);
    }
}

void SlidingMeter::DrawMarker(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    const Pym::Gfx::Rect marker = MarkerBounds(x, y, w, h, ShownPlace());
    if (!marker.Empty())
        context.FillRoundedRect(marker, marker.width / 2.0f, ColourAt(ShownPlace()));
}

Pym::Gfx::Rect SlidingMeter::MarkerBounds(int x, int y, int w, int h, float place) const {
    if (w < 8 || h < 6) return {};
    const Track track = TrackOf(x, y, w, h);
    const float marker = std::clamp(h * 0.5f, 6.0f, 22.0f);
    const float mx = track.left + place * track.width;
    return {mx - marker * 0.2f, track.middle - marker / 2, marker * 0.4f, marker};
}

void Fret::DrawScale(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w < 8 || h < 6) return;
    const Scale& scale = CurrentScale();
    const float span = scale.high - scale.low;
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
    const float string = y + h / 2.0f;
    context.DrawLine({Faded(markColour_, 200), std::max(1.0f, h * 0.04f)}, {left, string},
                     {left + width, string});
}

void Fret::DrawMarker(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    const Pym::Gfx::Rect dot = MarkerBounds(x, y, w, h, ShownPlace());
    if (!dot.Empty()) context.FillEllipse(dot, ColourAt(ShownPlace()));
}

Pym::Gfx::Rect Fret::MarkerBounds(int x, int y, int w, int h, float place) const {
    if (w < 8 || h < 6) return {};
    const float inset = 4.0f;
    const float dot = std::clamp(h * 0.22f, 3.0f, 14.0f);
    const float dx = x + inset + place * (w - 2 * inset);
    const float string = y + h / 2.0f;
    return {dx - dot, string - dot, 2 * dot, 2 * dot};
}
