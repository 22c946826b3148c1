#include "vis/ClockVis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pym/core/XMLLoadSave.h"
#include "vis/ScaleMeters.h"

namespace {

float Finite(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

}  // namespace

TimeVis::TimeVis(const TiXmlElement* element, ValueSource seconds) : seconds_(std::move(seconds)) {
    ReadVisColour(colour_, element, "Color");
}

std::string TimeVis::Format(float seconds) {
    const long tenths = std::lround(std::clamp(Finite(seconds), 0.0f, 359999.0f) * 10.0f);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%ld", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}

void TimeVis::Sample() {
    shown_ = seconds_ ? Finite(seconds_()) : 0.0f;
}

void TimeVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    context.DrawString(VisFont(std::min(h * 0.6f, w / 5.0f), true), Format(shown_),
                       {static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                        static_cast<float>(h)},
                       colour_, Pym::Gfx::TextAlignment::Center, Pym::Gfx::TextTrimming::None);
}

DualAnalogVis::DualAnalogVis(const TiXmlElement* element, ValueSource left, ValueSource right)
    : left_(std::move(left)), right_(std::move(right)) {
    ReadVisColour(colour_, element, "Color");
}

void DualAnalogVis::Sample() {
    leftPhase_ = left_ ? Finite(left_()) : 0.0f;
    rightPhase_ = right_ ? Finite(right_()) : 0.0f;
}

void DualAnalogVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    const float radius = std::min(w / 4.0f, h / 2.0f) - 2.0f;
    if (radius < 2.0f) return;
    const auto centre = [&](int dial) {
        return Pym::Gfx::Point{x + w * (dial == 0 ? 0.25f : 0.75f), y + h / 2.0f};
    };
    const Pym::Gfx::Rect area{static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                              static_cast<float>(h)};
    rims_.Draw(context, area, [&](Pym::Gfx::DrawContext& layer) {
        Pym::ColourValue rim = colour_;
        rim.alpha = 90;
        for (int dial = 0; dial < 2; ++dial)
            layer.DrawArc({rim, 2.0f}, centre(dial), radius, 0.0f, 360.0f);
    });
    for (int dial = 0; dial < 2; ++dial) {
        // A hand from twelve o'clock, clockwise: at phase 1 (stopped) it points up again.
        const float angle =
            (std::clamp(dial == 0 ? leftPhase_ : rightPhase_, 0.0f, 1.0f) * 360.0f - 90.0f) *
            static_cast<float>(M_PI) / 180.0f;
        const Pym::Gfx::Point middle = centre(dial);
        context.DrawLine({colour_, 2.0f}, middle,
                         {middle.x + radius * 0.85f * std::cos(angle),
                          middle.y + radius * 0.85f * std::sin(angle)});
    }
}
