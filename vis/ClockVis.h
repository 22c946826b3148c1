#pragma once

#include <tinyxml.h>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/CachedLayer.h"
#include "vis/VisBase.h"
#include "vis/VisSources.h"

// A time in seconds as minutes, seconds and tenths ("2:05.3"), as large as the rectangle
// allows, in the element's "Color".
class TimeVis : public VisBase {
public:
    TimeVis(const TiXmlElement* element, ValueSource seconds);
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    void Sample() override;

    static std::string Format(float seconds);

private:
    ValueSource seconds_;
    float shown_ = 0.0f;
    Pym::ColourValue colour_{255, 232, 234, 240};
};

// Two dials side by side, each a hand going once round as its phase runs from 0 to 1: the
// beat's on the left, the bar's on the right, in the element's "Color".
class DualAnalogVis : public VisBase {
public:
    DualAnalogVis(const TiXmlElement* element, ValueSource left, ValueSource right);
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    void Sample() override;

private:
    ValueSource left_, right_;
    float leftPhase_ = 0.0f, rightPhase_ = 0.0f;
    Pym::ColourValue colour_{255, 255, 138, 61};
    Pym::Gfx::CachedLayer rims_;
};
