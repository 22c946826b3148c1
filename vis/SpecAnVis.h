#pragma once

#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/Image.h"
#include "vis/VisBase.h"
#include "vis/VisSources.h"

// A spectrum as bars: the source's values (0 to 1) reduced to a number of bars, each bar a
// strip picture revealed up to its level, with a peak marker above it. Levels fall by a sixth
// per redraw at most; a peak holds for twelve redraws and then falls ever faster.
//
// From its element: the strip picture (child "Image", "ImageFile"), the free margin at the top,
// which is also a marker's height (child "Bar", "PercOfVizForBar", 0.05 by default), the
// markers' colour ("Bar", "Color") and the number of bars (child "Config", "NumBars").
class SpecAnVis : public VisBase {
public:
    static constexpr float kFall = 0.8333333f;
    static constexpr int kHoldRedraws = 12;

    SpecAnVis(TiXmlElement* element, SampleSource source);

    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    // All of it when a bar or a peak moved, else nothing (a silent input's bars settle at 0).
    Pym::Gfx::Rect ChangedArea(const Pym::Gfx::Rect& area) const override;
    void ForgetDrawn() override { drawnArea_ = {}; }
    void Sample() override;

    int BarCount() const { return static_cast<int>(levels_.size()); }
    const std::vector<float>& Levels() const { return levels_; }
    const std::vector<float>& Peaks() const { return peaks_; }

private:
    void DrawBar(Pym::Gfx::DrawContext& context, const Pym::Gfx::Rect& strip, float top,
                 float bottom);

    SampleSource source_;
    std::string picture_;
    Pym::Gfx::ImagePtr strip_;  // the picture at the bars' size, kept while that stays
    int stripWidth_ = 0, stripHeight_ = 0;
    float margin_ = 0.05f;
    Pym::ColourValue peakColour_{255, 255, 138, 61};
    std::vector<float> values_, levels_, peaks_;
    std::vector<int> holds_;
    std::vector<float> drawnLevels_, drawnPeaks_;  // last drawn, while on the screen
    Pym::Gfx::Rect drawnArea_;
};
