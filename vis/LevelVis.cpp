#include "vis/LevelVis.h"

#include <algorithm>
#include <cmath>

#include "pym/gui/RegisterType.h"
#include "settings/AppSettings.h"
#include "tuner/PitchAnalyser.h"

namespace {

const bool registered[] = {
    Pym::RegisterType<ThresholdVis>("ThresholdVis", ""),
    Pym::RegisterType<PowerLightVis>("PowerLightVis", ""),
};

float Share(float value, float span) {
    const float share = value / span;
    return std::isfinite(share) ? std::clamp(share, 0.0f, 1.0f) : 0.0f;
}

}  // namespace

LevelVis::LevelVis()
    : feed_{[] { return static_cast<float>(DllPitchAnalyserInstance().LastLevel()); },
            [] { return static_cast<float>(DllAppSettingsInstance().levelThreshold); },
            [] { return static_cast<float>(DllAppSettingsInstance().levelSpan); }} {}

bool LevelVis::LoadFromXml(TiXmlElement* element) {
    if (!VisBase::LoadFromXml(element)) return false;
    ReadVisColour(colour_, element, "Color");
    ReadVisColour(thresholdColour_, element, "ThresholdColor");
    ReadVisColour(background_, element, "Background");
    return true;
}

void LevelVis::Sample() {
    const float span = feed_.span ? feed_.span() : 100.0f;
    const float level = feed_.level ? feed_.level() : 0.0f;
    const float threshold = feed_.threshold ? feed_.threshold() : 0.0f;
    level_ = Share(level, span);
    threshold_ = Share(threshold, span);
    passes_ = level > threshold;  // false for NaN, as the gate
}

void ThresholdVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    const float radius = std::min(w, h) / 2.0f;
    const Pym::Gfx::Rect whole{static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                               static_cast<float>(h)};
    context.FillRoundedRect(whole, radius, background_);
    if (LevelShare() > 0.0f)
        context.FillRoundedRect({whole.x, whole.y, w * LevelShare(), whole.height}, radius,
                                Passes() ? colour_ : thresholdColour_);
    const float markWidth = std::min(2.0f, whole.width);
    const float mark = std::clamp(x + w * ThresholdShare() - markWidth / 2.0f, whole.x,
                                  whole.x + whole.width - markWidth);
    context.FillRect({mark, whole.y, markWidth, whole.height}, thresholdColour_);
}

void PowerLightVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    const float size = static_cast<float>(std::min(w, h));
    if (size <= 0) return;
    const Pym::Gfx::Rect light{x + (w - size) / 2.0f, y + (h - size) / 2.0f, size, size};
    context.FillEllipse(light, background_);
    if (!Passes()) return;
    Pym::ColourValue shine = colour_;
    shine.alpha = static_cast<int>(std::lround(shine.alpha * (0.45f + 0.55f * LevelShare())));
    const float inset = size * 0.12f;
    context.FillEllipse({light.x + inset, light.y + inset, size - 2 * inset, size - 2 * inset},
                        shine);
}
