#pragma once

#include <memory>

#include "pym/gui/ButtonPictures.h"
#include "pym/gui/FlowLayouts.h"
#include "pym/gui/WheelNotches.h"

namespace Pym {

// The moving part of a scroll bar: a track made of two pictures (both built from "Buffer")
// with the bar between them. The bar's extent is a share of the track (the visible share of
// what is scrolled, never below "MinimumBarSize"), its place a share of the travel left to
// it. The user drags the bar, pages by pressing the track beside it, and steps with the
// wheel; each such move is announced with a ScrollObjectSignal (axis flag 1 horizontal or 0
// vertical, 0, kind, requested delta) while "CallbackMode" is "On". Moves made by code are
// silent.
class ScrollObject : public FlowLayoutAbsolutePadded {
public:
    // The bar: "Start", "Middle" and "End" pictures, the ends as long as half the bar is thick
    // (rounded caps), the middle stretched between them.
    class BarWrapper : public FlowLayoutStartAligned {
    public:
        GuiObject* StartPiece() const { return start_; }
        GuiObject* MiddlePiece() const { return middle_; }
        GuiObject* EndPiece() const { return end_; }

    protected:
        bool LoadFromXml(TiXmlElement* element) override;
        void Arrange() override;
        bool IsTwoPart() const override { return false; }

    private:
        ButtonPictures pieces_;
        GuiObject* start_ = nullptr;
        GuiObject* middle_ = nullptr;
        GuiObject* end_ = nullptr;
    };

    // The "CallbackMode" that switches the announcements on; any other value switches them off.
    static constexpr const char* kCallbacksOn = "On";
    // Kinds of a ScrollObjectSignal.
    enum Kind { Moved = 2, AtStart = 3, AtEnd = 4 };

    ScrollObject();
    ~ScrollObject() override;

    // Moves the bar by `delta` pixels within the track and announces the move when `notify`
    // is set. Returns the delta plus the part of the move the track's ends cut off.
    virtual int MoveBar(int delta, bool notify);

    // The bar's extent as a share of the track (0..1; the minimum size still applies).
    void SetBarShare(float share);
    float BarShare() const { return barShare_; }
    // The bar's place as a share of its travel: 0 at the start, 1 at the end. Silent.
    void SetBarPosition(float share);
    float BarPosition() const { return position_; }
    // How far the bar can move, in pixels.
    int Travel() const;
    int MinimumBarSize() const { return minimumBarSize_; }

    // User moves: by steps (a wheel notch, an arrow button) or pages (the track). Announced
    // while the callbacks are on.
    virtual void Step(int steps);
    void Page(int pages);
    // A step as a share of the travel (a scrolled window sets a line's worth).
    void SetStepShare(float share) { stepShare_ = share; }

    bool CallbacksOn() const { return callbacksOn_; }
    void SetCallbacksOn(bool on) { callbacksOn_ = on; }
    bool IsDragging() const { return dragging_; }

    BarWrapper* Bar() const { return bar_.get(); }
    GuiObject* BufferBefore() const { return before_; }
    GuiObject* BufferAfter() const { return after_; }

    bool Resize(int width, int height) override;
    void Relayout() override;
    // A bar being dragged holds on to the pointer: counted as selected, the moves and the
    // release reach it wherever the pointer goes.
    bool IsSelected() const override { return dragging_ || FlowLayoutAbsolutePadded::IsSelected(); }
    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnMouseMove(Signal::MouseMove& signal) override;
    void OnLeftButtonUp(Signal::LeftButtonUp& signal) override;
    void OnMouseWheel(Signal::MouseWheel& signal) override;
    // A window that loses the focus never sees the release: the drag ends here.
    void OnWindowActivated(Signal::WindowActivated& signal) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    // Whether the pointer moves the bar (a progress bar only shows).
    virtual bool TakesPointer() const { return true; }
    // The bar's extent and place in pixels for the current shares and size.
    int BarExtent() const;
    int BarPlace() const;
    // Sizes and places the bar from the shares, then the track around it.
    void PlaceBar();

private:
    int Along(int x, int y) const { return IsHorizontal() ? x : y; }
    void Announce(int kind, int delta);

    ButtonPictures buffers_;
    GuiObject* before_ = nullptr;
    GuiObject* after_ = nullptr;
    std::unique_ptr<BarWrapper> bar_;
    float barShare_ = 1.0f;
    float position_ = 0.0f;
    float stepShare_ = 0.1f;
    int minimumBarSize_ = 0;
    bool callbacksOn_ = false;
    bool dragging_ = false;
    int grab_ = 0;  // where along the bar it was taken hold of
    WheelNotches wheel_;
};

}  // namespace Pym
