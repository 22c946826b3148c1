#pragma once

#include "pym/gui/ButtonPictures.h"
#include "pym/gui/FlowLayouts.h"
#include "pym/gui/ScrollObject.h"

namespace Pym {

// A scroll object between two end pieces: the "Start" and "End" pictures, each
// "EndThicknessInPixels" long, and the scroll object that its "ScrollObject" child element
// describes filling the rest. It lies along its scroll object's axis.
class ScrollBase : public FlowLayoutStartAligned {
public:
    ScrollObject* GetScrollObject() const { return scrollObject_; }
    GuiObject* StartPiece() const { return start_; }
    GuiObject* EndPiece() const { return end_; }
    int EndThickness() const { return endThickness_; }

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void Arrange() override;
    bool IsTwoPart() const override { return false; }
    // How long each end piece is along the axis.
    virtual int EndExtent() const { return endThickness_; }

private:
    ButtonPictures pieces_;
    ScrollObject* scrollObject_ = nullptr;
    GuiObject* start_ = nullptr;
    GuiObject* end_ = nullptr;
    int endThickness_ = 0;
};

// The scroll bar a user knows: arrow buttons at both ends ("ButtonSize" long) that step the
// bar when pressed and keep stepping while held, the track between them that pages, and the
// bar that is dragged. Until a layout places it, it is "BigAxisSize" long and
// "SmallAxisSize" thick.
class ScrollBar : public ScrollBase {
public:
    // A held arrow steps again after this long, and then at this interval.
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 50;

    int BigAxisSize() const { return bigAxisSize_; }
    int SmallAxisSize() const { return smallAxisSize_; }
    int ButtonSize() const { return buttonSize_; }
    bool ArrowHeld() const { return heldSteps_ != 0; }

    // A held arrow hears the release wherever the pointer is.
    bool IsSelected() const override { return heldSteps_ != 0 || ScrollBase::IsSelected(); }
    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnLeftButtonUp(Signal::LeftButtonUp& signal) override;
    void OnTimer(Signal::Timer& signal) override;
    bool NeedsTicks() const override { return ScrollBase::NeedsTicks() || heldSteps_ != 0; }
    void OnWindowActivated(Signal::WindowActivated& signal) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    int EndExtent() const override { return buttonSize_; }

private:
    int bigAxisSize_ = 0, smallAxisSize_ = 0, buttonSize_ = 0;
    int heldSteps_ = 0;     // -1 or 1 while an arrow is held
    int heldSinceMs_ = -1;  // timer time of the press, -1 until the next tick
    int lastRepeatMs_ = -1;
};

}  // namespace Pym
