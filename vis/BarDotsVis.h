#pragma once

#include <functional>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/DrawContext.h"
#include "vis/VisBase.h"
#include "vis/VisSources.h"

// The bar as a row of dots, one per beat, the dot of the beat heard lit. The accented beat
// comes first, as a musician counts it: lit in "AccentColor" and dim in that colour at rest; the
// other beats lit in "Color", at rest in "Background". Fed the bar's phase (0 at the accented
// click, 1 while stopped: nothing lit) and the beats of the bar.
class BarDotsVis : public VisBase {
public:
    static constexpr int kMostDots = 32;  // beyond, the dots would be specks

    BarDotsVis(ValueSource barPhase, std::function<int()> beats);

    void Sample() override;
    // Repaints only when another dot is lit or the bar changed its beats.
    void Redraw() override;
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) override;

    int Dots() const { return dots_; }
    int Lit() const { return lit_; }  // -1: none
    // Where dot `index` of `count` sits in a rectangle: equal slots across the width, each dot
    // a circle centred in its slot.
    static Pym::Gfx::Rect DotRect(int index, int count, int x, int y, int w, int h);

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    ValueSource barPhase_;
    std::function<int()> beats_;
    int dots_ = 1;
    int lit_ = -1;
    Pym::ColourValue colour_{255, 232, 234, 240};
    Pym::ColourValue accent_{255, 255, 138, 61};
    Pym::ColourValue background_{255, 52, 57, 69};
};
