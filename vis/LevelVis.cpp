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
    : LevelVis(LevelFeed{[] { return static_cast<float>(DllPitchAnalyserInstance().LastLevel()); },
                         [] { return static_cast<float>(DllAppSettingsInstance().levelThreshold); },
                         [] { return static_cast<float>(DllAppSettingsInstance().levelSpan); }}) {}

// Refreshed with every read-out: repainted alone over a copy of what lies beneath.
LevelVis::LevelVis(LevelFeed feed) : feed_(std::move(feed)) {
    KeepBackdrop();
}

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
    reading_.level = Share(level, span);
    reading_.threshold = Share(threshold, span);
    reading_.passes = level > threshold;  // false for NaN, as the gate
}

void LevelVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    DrawLevel(context, x, y, w, h);
    drawn_ = reading_;
    drawnArea_ = AreaOf(x, y, w, h);
}

Pym::Gfx::Rect LevelVis::ChangedArea(const Pym::Gfx::Rect& area) const {
    return area == drawnArea_ && LooksAlike(drawn_, reading_) ? Pym::Gfx::Rect{} : area;
}

void ThresholdVis::DrawLevel(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    const float radius = std::min(w, h) / 2.0f;
    const Pym::Gfx::Rect whole = AreaOf(x, y, w, h);
    context.FillRoundedRect(whole, radius, background_);
    if (LevelShare() > 0.0f)
        context.FillRoundedRect({whole.x, whole.y, w * LevelShare(), whole.height}, radius,
                                Passes() ? colour_ : thresholdColour_);
    const float markWidth = std::min(2.0f, whole.width);
    const float mark = std::clamp(x + w * ThresholdShare() - markWidth / 2.0f, whole.x,
                                  whole.x + whole.width - markWidth);
    context.FillRect({mark, whole.y, markWidth, whole.height}, thresholdColour_);
}

int PowerLightVis::ShineAlpha(float level) const {
    return static_cast<int>(std::lround(colour_.alpha * (0.45f + 0.55f * level)));
}

bool PowerLightVis::LooksAlike(const Reading& a, const Reading& b) const {
    return a.passes == b.passes && (!a.passes || ShineAlpha(a.level) == ShineAlpha(b.level));
}

void PowerLightVis::DrawLevel(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    const float size = static_cast<float>(std::min(w, h));
    if (size <= 0) return;
    const Pym::Gfx::Rect light{x + (w - size) / 2.0f, y + (h - size) / 2.0f, size, size};
    context.FillEllipse(light, background_);
    if (!Passes()) return;
    Pym::ColourValue shine = colour_;
    shine.alpha = ShineAlpha(LevelShare());
    const float inset = size * 0.12f;
    context.FillEllipse({light.x + inset, light.y + inset, size - 2 * inset, size - 2 * inset},
                        shine);
}
