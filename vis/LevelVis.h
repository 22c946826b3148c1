#pragma once

#include "pym/core/ValueTypes.h"
#include "vis/VisBase.h"
#include "vis/VisSources.h"

// What the input's level displays are fed: the level of the last analysed frame and the
// threshold a note must pass to be analysed, both on the same scale of 0 to `span`.
struct LevelFeed {
    ValueSource level;
    ValueSource threshold;
    ValueSource span;
};

// The base of the level displays: the fed values, taken at each redraw, and the look
// ("Color" for the level, "ThresholdColor" for the threshold, "Background").
class LevelVis : public VisBase {
public:
    LevelVis();
    explicit LevelVis(LevelFeed feed) : feed_(std::move(feed)) {}

    void Sample() override;
    // The level and the threshold as shares of the span (0 to 1; 0 for what is not a number).
    float LevelShare() const { return level_; }
    float ThresholdShare() const { return threshold_; }
    bool Passes() const { return passes_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;

    Pym::ColourValue colour_{255, 61, 220, 132};
    Pym::ColourValue thresholdColour_{255, 255, 138, 61};
    Pym::ColourValue background_{255, 40, 44, 54};

private:
    LevelFeed feed_;
    float level_ = 0.0f;
    float threshold_ = 0.0f;
    bool passes_ = false;
};

// The input's level as a bar against the threshold's mark: what the threshold slider is set
// against.
class ThresholdVis : public LevelVis {
public:
    using LevelVis::LevelVis;
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
};

// A light that shines while the input is loud enough to be analysed, brighter the louder.
class PowerLightVis : public LevelVis {
public:
    using LevelVis::LevelVis;
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
};
