#include "vis/ScaleVis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pym/core/XMLLoadSave.h"

ScaleVis::ScaleVis(ScaleFeed feed) : feed_(std::move(feed)) {
    place_.SetTarget(0.5f);
}

void ScaleVis::LoadLook(const TiXmlElement* element) {
    if (!element) return;
    ReadVisColour(markColour_, element, "Color");
    ReadVisColour(inTune_, element, "InTuneColor");
    ReadVisColour(flat_, element, "FlatColor");
    ReadVisColour(sharp_, element, "SharpColor");
    Pym::XMLLoadSave::ReadAttribute(inTuneBand_, element, "InTuneBand");
    if (!std::isfinite(inTuneBand_)) inTuneBand_ = 0.1f;
    scaleLayer_.Invalidate();
}

void ScaleVis::Sample() {
    const float target = feed_.target ? feed_.target() : 0.0f;
    if (target != target_ && feed_.scaleOf) {
        target_ = target;
        scale_ = feed_.scaleOf(target);
        BuildMarks();
    }
    const float detected = feed_.detected ? feed_.detected() : 0.0f;
    const float span = scale_.high - scale_.low;
    // No scale (a target of 0) or nothing heard yet: the middle. Off the scale: its end.
    float place = 0.5f;
    if (span > 0.0f && std::isfinite(span) && detected > 0.0f && std::isfinite(detected))
        place = std::clamp((detected - scale_.low) / span, 0.0f, 1.0f);
    place_.SetTarget(place);
    // A move too small to see is taken at once, as a step would: no tick is asked for it.
    if (std::fabs(place_.Target() - place_.Shown()) < Arrived()) place_.Settle();
}

void ScaleVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    drawnWidth_ = w;
    const Pym::Gfx::Rect area = AreaOf(x, y, w, h);
    scaleLayer_.Draw(context, area,
                     [&](Pym::Gfx::DrawContext& layer) { DrawScale(layer, x, y, w, h); });
    DrawMarker(context, x, y, w, h);
    drawnArea_ = area;
    drawnPlace_ = ShownPlace();
}

Pym::Gfx::Rect ScaleVis::ChangedArea(const Pym::Gfx::Rect& area) const {
    if (!(area == drawnArea_) || scaleLayer_.Stale()) return area;
    if (ShownPlace() == drawnPlace_) return {};
    const int x = static_cast<int>(area.x), y = static_cast<int>(area.y);
    const int w = static_cast<int>(area.width), h = static_cast<int>(area.height);
    // Antialiasing reaches into the pixels around the marker's edges.
    constexpr float kMargin = 2.0f;
    const Pym::Gfx::Rect markers =
        Union(MarkerBounds(x, y, w, h, drawnPlace_), MarkerBounds(x, y, w, h, ShownPlace()));
    return markers.Empty() ? markers : Intersection(area, PixelsAround(markers, kMargin));
}

bool ScaleVis::Tick(double seconds) {
    return place_.Step(seconds, Arrived());
}

float ScaleVis::Arrived() const {
    // The needle stops half a pixel from its place: the last steps before would look still.
    return drawnWidth_ > 0 ? 0.5f / static_cast<float>(drawnWidth_) : EasedValue::kArrived;
}

const Pym::ColourValue& ScaleVis::ColourAt(float place) const {
    const float offset = (place - 0.5f) * 2.0f;
    if (std::fabs(offset) <= inTuneBand_) return inTune_;
    return offset < 0.0f ? flat_ : sharp_;
}

void ScaleVis::BuildMarks() {
    scaleLayer_.Invalidate();
    marks_.clear();
    const float span = scale_.high - scale_.low;
    if (!(span > 0.0f) || !std::isfinite(span) || !feed_.frequencyOf) return;
    for (float value : feed_.marks) {
        const float place = (feed_.frequencyOf(value, target_) - scale_.low) / span;
        if (!std::isfinite(place) || place < -0.001f || place > 1.001f) continue;
        char text[32];
        const long shown = std::lround(value);
        std::snprintf(text, sizeof text, shown > 0 ? "+%ld" : "%ld", shown);
        marks_.push_back({std::clamp(place, 0.0f, 1.0f), text});
    }
}
