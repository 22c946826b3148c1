#pragma once

#include <chrono>

#include "pym/gfx/DrawContext.h"
#include "pym/gui/GuiObject.h"

// A display of the visualisation kit: it draws the values it is fed inside the rectangle it is
// given, its own when it stands alone, its switcher's when it is one of a switcher's views.
//
// A redraw asked for by its owner first takes the latest values from the display's sources
// (Sample); a display that moves on its own between values (an eased needle) asks for drawing
// from the window's ticks until it has arrived, and not after.
//
// A display that knows what it drew last (ChangedArea) is repainted only where its pixels
// change, and not at all while they stay; any other is repainted whole.
class VisBase : public Pym::GuiObject {
public:
    // Draws into the rectangle, in the context's coordinates.
    virtual void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) = 0;
    // Where drawing into `area` now would change pixels of the last drawing into the same
    // rectangle: all of it unless the display keeps track, nothing while its looks stay.
    virtual Pym::Gfx::Rect ChangedArea(const Pym::Gfx::Rect& area) const { return area; }
    // The last drawing did not reach the screen whole: the next change repaints all of it.
    virtual void ForgetDrawn() {}
    // Takes the latest values from the sources.
    virtual void Sample() {}
    // Advances what moves on its own by `seconds`; true while that changes what is drawn.
    virtual bool Tick(double /*seconds*/) { return false; }
    // Whether what moves on its own has yet to arrive: the display then wants ticks.
    virtual bool Moving() const { return false; }

    void Redraw() override;
    // Samples, then repaints only what changed (ChangedArea): for refreshes many times a second.
    void RedrawChanges();
    bool NeedsTicks() const override {
        return GuiObject::NeedsTicks() || (IsVisible() && Moving());
    }
    int TickDelayMs() const override;

protected:
    VisBase() { SubscribeTicks(); }
    // The rectangle DrawVis is given, as a drawing context takes it.
    static Pym::Gfx::Rect AreaOf(int x, int y, int width, int height) {
        return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                static_cast<float>(height)};
    }
    bool DrawSelf(Pym::Gfx::DrawContext& context) override;
    void OnTimer(Pym::Signal::Timer& signal) override;

private:
    // The display's rectangle, where DrawVis draws it.
    Pym::Gfx::Rect Area() const;
    void RepaintChangedArea();

    int lastTickMs_ = -1;
    std::chrono::steady_clock::time_point lastStep_;
    bool moved_ = false;  // at the last tick
};

// Reads the colour attribute `name` of `element` into `colour`; a missing element or attribute
// keeps the colour it had.
void ReadVisColour(Pym::ColourValue& colour, const TiXmlElement* element, const char* name);

// The view that shows nothing.
class BlankVis : public VisBase {
public:
    void DrawVis(Pym::Gfx::DrawContext&, int, int, int, int) override {}
};
