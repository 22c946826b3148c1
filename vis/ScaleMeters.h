#pragma once

#include "vis/ScaleVis.h"

namespace Pym::Gfx {
class Font;
}

// An analog meter: a needle swinging over an arc from the low end of the scale (left) to the
// high end (right), with marks and their labels, the arc tinted flat, in tune and sharp.
class Meter : public ScaleVis {
public:
    using ScaleVis::ScaleVis;

protected:
    void DrawScale(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    void DrawMarker(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    Pym::Gfx::Rect MarkerBounds(int x, int y, int width, int height, float place) const override;
};

// A marker sliding along a straight scale, with marks at the ends, the quarters and the middle.
class SlidingMeter : public ScaleVis {
public:
    using ScaleVis::ScaleVis;

protected:
    void DrawScale(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    void DrawMarker(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    Pym::Gfx::Rect MarkerBounds(int x, int y, int width, int height, float place) const override;
};

// A string over frets: a fret wire wherever a semitone from the target falls on the scale (the
// target's own in the middle, highlighted), and a dot where the detected pitch touches the
// string.
class Fret : public ScaleVis {
public:
    using ScaleVis::ScaleVis;

protected:
    void DrawScale(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    void DrawMarker(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    Pym::Gfx::Rect MarkerBounds(int x, int y, int width, int height, float place) const override;
};

// The small text of the kit's marks and labels, sized in pixels.
const Pym::Gfx::Font& VisFont(float pixels, bool bold = false);
