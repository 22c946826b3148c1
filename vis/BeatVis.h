#pragma once

#include <tinyxml.h>

#include "pym/core/ValueTypes.h"
#include "vis/VisBase.h"
#include "vis/VisSources.h"

// The beat and the bar as two columns, each a fifth of the width, at the second and the fourth
// fifth: full at the click, draining to one pixel as the beat (left) or the bar (right) runs
// out. Fed the two phases, 0 to 1 (1, as while stopped, is the end); drawn in the element's
// "Color".
class BeatVis : public VisBase {
public:
    BeatVis(const TiXmlElement* element, ValueSource beat, ValueSource bar);

    void Sample() override;
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;

    float Beat() const { return beat_; }
    float Bar() const { return bar_; }
    // The top of a column at `phase` in a rectangle at y, h high.
    static int ColumnTop(float phase, int y, int h);

protected:
    Pym::ColourValue brush_{255, 255, 138, 61};

private:
    ValueSource beatSource_, barSource_;
    float beat_ = 1.0f, bar_ = 1.0f;
};

// The same phases as markers running left to right across two halves of the rectangle, one
// each side of a centre line: a short marker for the beat, a tall one for the bar. Markers stay
// inside the rectangle where they would reach past its edges.
class BarVis : public BeatVis {
public:
    using BeatVis::BeatVis;
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
};
