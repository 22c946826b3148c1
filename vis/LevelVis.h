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
    explicit LevelVis(LevelFeed feed);

    void Sample() override;
    // The level and the threshold as shares of the span (0 to 1; 0 for what is not a number).
    float LevelShare() const { return reading_.level; }
    float ThresholdShare() const { return reading_.threshold; }
    bool Passes() const { return reading_.passes; }

    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) final;
    // All of it when a value it shows changed since it was drawn, else nothing.
    Pym::Gfx::Rect ChangedArea(const Pym::Gfx::Rect& area) const final;
    void ForgetDrawn() final { drawnArea_ = {}; }

protected:
    struct Reading {
        float level = 0.0f;
        float threshold = 0.0f;
        bool passes = false;
        bool operator==(const Reading&) const = default;
    };

    bool LoadFromXml(TiXmlElement* element) override;
    virtual void DrawLevel(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) = 0;
    // Whether the two readings are drawn alike.
    virtual bool LooksAlike(const Reading& a, const Reading& b) const { return a == b; }

    Pym::ColourValue colour_{255, 61, 220, 132};
    Pym::ColourValue thresholdColour_{255, 255, 138, 61};
    Pym::ColourValue background_{255, 40, 44, 54};

private:
    LevelFeed feed_;
    Reading reading_;
    Reading drawn_;
    Pym::Gfx::Rect drawnArea_;  // while the last drawing is on the screen
};

// The input's level as a bar against the threshold's mark: what the threshold slider is set
// against.
class ThresholdVis : public LevelVis {
public:
    using LevelVis::LevelVis;

protected:
    void DrawLevel(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
};

// A light that shines while the input is loud enough to be analysed, brighter the louder.
class PowerLightVis : public LevelVis {
public:
    using LevelVis::LevelVis;

protected:
    void DrawLevel(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    // Only the shine's alpha follows the level.
    bool LooksAlike(const Reading& a, const Reading& b) const override;

private:
    int ShineAlpha(float level) const;
};
