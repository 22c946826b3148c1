#pragma once

#include <vector>

#include <tinyxml.h>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/DrawContext.h"
#include "vis/VisBase.h"
#include "vis/VisSources.h"

// The latest input block as a line across the rectangle, positive samples below the centre
// line; a full-scale sample reaches one pixel inside the edge, and louder ones are drawn beyond
// it. The pen's colour comes from the element's "Color" (required), its width is 2.
class OScope : public VisBase {
public:
    static constexpr float kPenWidth = 2.0f;

    OScope(TiXmlElement* element, SampleSource source);

    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    // The rows the old and the new line cross when the line moved, else nothing (a silent
    // input draws the same line).
    Pym::Gfx::Rect ChangedArea(const Pym::Gfx::Rect& area) const override;
    void ForgetDrawn() override { drawnArea_ = {}; }
    void Sample() override;

    // The vertical position of a sample in a rectangle at y of height h.
    static float PositionOf(float value, int y, int h);

private:
    // The line's points for the block in the rectangle, into points_.
    void Trace(int x, int y, int w, int h) const;

    SampleSource source_;
    Pym::Gfx::Pen pen_;
    std::vector<float> block_;
    mutable std::vector<float> values_;
    mutable std::vector<Pym::Gfx::Point> points_;
    mutable Pym::Gfx::Rect tracedArea_;   // what points_ hold the block for, until the next one
    std::vector<Pym::Gfx::Point> drawn_;  // the line last drawn, while it is on the screen
    Pym::Gfx::Rect drawnArea_;
};

// The input's loudness scrolling from right to left: a column per redraw, as high as the
// strongest sample of the block, so the shape of notes over the last seconds shows. Same pen
// as the scope.
class OScopeCurtain : public VisBase {
public:
    OScopeCurtain(TiXmlElement* element, SampleSource source);

    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;
    void Sample() override;

private:
    SampleSource source_;
    Pym::Gfx::Pen pen_;
    std::vector<float> history_;  // a ring of column heights, 0 to 1
    std::size_t next_ = 0;
};
