#include "pym/gui/ScrollBar.h"

#include "pym/gui/OwnChildElement.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ThreePartArrangement.h"

namespace Pym {

namespace {

const bool registeredBase =
    RegisterType<ScrollBase>("Pym::ScrollBase", "$PYM/Objects/ScrollBase/ScrollBase.xml");
const bool registeredBar =
    RegisterType<ScrollBar>("Pym::ScrollBar", "$PYM/Objects/ScrollBar/ScrollBar.xml");

// Whether a point in the parent's coordinates lies on the child.
bool Hits(const GuiObject* child, int x, int y) {
    return child && child->IsVisible() && child->HitTestLocal(x - child->GetX(), y - child->GetY());
}

}  // namespace

bool ScrollBase::LoadFromXml(TiXmlElement* element) {
    if (!FlowLayoutStartAligned::LoadFromXml(element)) return false;
    ReadAttribute(endThickness_, element, "EndThicknessInPixels", true);
    if (scrollObject_) return true;
    GuiObject* built = pieces_.Build(*this, element, "ScrollObject");
    scrollObject_ = dynamic_cast<ScrollObject*>(built);
    if (!scrollObject_) ReportXmlError(element, "ScrollObject");
    SetHorizontal(scrollObject_->IsHorizontal());
    start_ = pieces_.Build(*this, element, "Start");
    end_ = pieces_.Build(*this, element, "End");
    if (start_) AddFlowChildSized(start_, 0);
    AddFlowChildSized(scrollObject_, kExpandable);
    if (end_) AddFlowChildSized(end_, 0);
    return true;
}

void ScrollBase::Arrange() {
    ArrangeInThree(*this, IsHorizontal(), start_, scrollObject_, end_, EndExtent());
}

bool ScrollBar::LoadFromXml(TiXmlElement* element) {
    if (!ScrollBase::LoadFromXml(element)) return false;
    ReadAttribute(bigAxisSize_, element, "BigAxisSize", true);
    ReadAttribute(smallAxisSize_, element, "SmallAxisSize", true);
    ReadAttribute(buttonSize_, element, "ButtonSize", true);
    if (IsHorizontal())
        Resize(bigAxisSize_, smallAxisSize_);
    else
        Resize(smallAxisSize_, bigAxisSize_);
    Relayout();
    return true;
}

void ScrollBar::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    ScrollBase::OnLeftButtonDown(signal);
    if (!IsVisible()) return;
    if (Hits(StartPiece(), signal.x, signal.y))
        heldSteps_ = -1;
    else if (Hits(EndPiece(), signal.x, signal.y))
        heldSteps_ = 1;
    else
        return;
    heldSinceMs_ = lastRepeatMs_ = -1;
    SubscribeTicks();  // for the repeats
    GetScrollObject()->Step(heldSteps_);
}

void ScrollBar::OnLeftButtonUp(Signal::LeftButtonUp& signal) {
    heldSteps_ = 0;
    ScrollBase::OnLeftButtonUp(signal);
}

void ScrollBar::OnTimer(Signal::Timer& signal) {
    ScrollBase::OnTimer(signal);
    if (heldSteps_ == 0) return;
    const int now = signal.elapsedMs;
    if (heldSinceMs_ < 0) heldSinceMs_ = now;
    if (now - heldSinceMs_ < kRepeatDelayMs) return;
    if (lastRepeatMs_ >= 0 && now - lastRepeatMs_ < kRepeatIntervalMs) return;
    lastRepeatMs_ = now;
    GetScrollObject()->Step(heldSteps_);
}

void ScrollBar::OnWindowActivated(Signal::WindowActivated& signal) {
    ScrollBase::OnWindowActivated(signal);
    if (!signal.activated) heldSteps_ = 0;
}

}  // namespace Pym
