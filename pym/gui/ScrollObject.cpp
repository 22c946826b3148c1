#include "pym/gui/ScrollObject.h"

#include <algorithm>
#include <cmath>

#include "pym/gui/OwnChildElement.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ThreePartArrangement.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<ScrollObject>("Pym::ScrollObject", "$PYM/Objects/ScrollObject/ScrollObject.xml");

int Nearest(float value) {
    return static_cast<int>(std::lround(value));
}

float Share(float value) {
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

}  // namespace

// --- the bar ------------------------------------------------------------------------------

bool ScrollObject::BarWrapper::LoadFromXml(TiXmlElement* element) {
    if (!FlowLayoutStartAligned::LoadFromXml(element)) return false;
    if (start_) return true;
    start_ = pieces_.Build(*this, element, "Start");
    if (!start_) ReportXmlError(element, "Start");
    middle_ = pieces_.Build(*this, element, "Middle");
    if (!middle_) ReportXmlError(element, "Middle");
    end_ = pieces_.Build(*this, element, "End");
    if (!end_) ReportXmlError(element, "End");
    AddFlowChildSized(start_, 0);
    AddFlowChildSized(middle_, kExpandable);
    AddFlowChildSized(end_, 0);
    return true;
}

void ScrollObject::BarWrapper::Arrange() {
    const int breadth = IsHorizontal() ? GetHeight() : GetWidth();
    ArrangeInThree(*this, IsHorizontal(), start_, middle_, end_, breadth / 2);
}

// --- loading ------------------------------------------------------------------------------

ScrollObject::ScrollObject() = default;

ScrollObject::~ScrollObject() {
    // Out of the tree before the layout it belongs to goes.
    bar_.reset();
}

bool ScrollObject::LoadFromXml(TiXmlElement* element) {
    if (!FlowLayoutAbsolutePadded::LoadFromXml(element)) return false;
    std::string orientation, callbackMode;
    ReadAttribute(orientation, element, "Orientation", true);
    ReadAttribute(callbackMode, element, "CallbackMode", true);
    ReadAttribute(minimumBarSize_, element, "MinimumBarSize", true);
    SetHorizontal(orientation != "Vertical");
    callbacksOn_ = callbackMode == kCallbacksOn;
    minimumBarSize_ = std::max(minimumBarSize_, 0);
    float initial = 0.0f;
    // Up to 1 a share of the track, above it a percentage.
    if (ReadAttribute(initial, element, "InitialBarSizePercentage"))
        barShare_ = Share(initial > 1.0f ? initial / 100.0f : initial);
    if (bar_) return true;

    before_ = buffers_.Build(*this, element, "Buffer");
    after_ = buffers_.Build(*this, element, "Buffer");
    if (!before_ || !after_) ReportXmlError(element, "Buffer");
    TiXmlElement* barElement = OwnChildElement(*this, element, "Bar");
    if (!barElement) ReportXmlError(element, "Bar");
    bar_ = std::make_unique<BarWrapper>();
    bar_->SetName("Bar");
    bar_->SetHorizontal(IsHorizontal());
    if (!bar_->Build(ResolveBaseXml(barElement))) ReportXmlError(element, "Bar");
    // Track before the bar, the bar at its place, track after it.
    AddFlowChildSized(before_, kExpandable);
    AddFlowChildSized(bar_.get(), 0);
    AddFlowChildSized(after_, kExpandable);
    PlaceBar();
    return true;
}

// --- geometry -----------------------------------------------------------------------------

int ScrollObject::BarExtent() const {
    const int length = std::max(IsHorizontal() ? GetWidth() : GetHeight(), 0);
    return std::min(std::max(Nearest(barShare_ * length), minimumBarSize_), length);
}

int ScrollObject::Travel() const {
    return std::max((IsHorizontal() ? GetWidth() : GetHeight()) - BarExtent(), 0);
}

int ScrollObject::BarPlace() const {
    return Nearest(position_ * Travel());
}

void ScrollObject::PlaceBar() {
    if (!bar_) return;
    const int extent = BarExtent(), place = BarPlace();
    if (IsHorizontal()) {
        bar_->Move(place, 0);
        bar_->Resize(extent, GetHeight());
        if (after_) after_->Resize(after_->GetWidth(), GetHeight());
    } else {
        bar_->Move(0, place);
        bar_->Resize(GetWidth(), extent);
        if (after_) after_->Resize(GetWidth(), after_->GetHeight());
    }
    bar_->Relayout();
    FlowLayoutAbsolutePadded::Relayout();
}

bool ScrollObject::Resize(int width, int height) {
    if (!FlowLayoutAbsolutePadded::Resize(width, height)) return false;
    PlaceBar();
    return true;
}

void ScrollObject::Relayout() {
    PlaceBar();
}

void ScrollObject::SetBarShare(float share) {
    barShare_ = Share(share);
    PlaceBar();
    Redraw();
}

void ScrollObject::SetBarPosition(float share) {
    position_ = Share(share);
    PlaceBar();
    Redraw();
}

// --- moving -------------------------------------------------------------------------------

int ScrollObject::MoveBar(int delta, bool notify) {
    if (!bar_) return delta;
    const int pos = Position(*bar_);
    const int length = Extent(*this), bar = Extent(*bar_);
    const int maxPos = std::max(length - bar, 0);
    const int newPos = std::clamp(pos + delta, 0, maxPos);
    if (IsHorizontal())
        bar_->Move(newPos, bar_->GetY());
    else
        bar_->Move(bar_->GetX(), newPos);
    position_ = maxPos > 0 ? static_cast<float>(newPos) / maxPos : 0.0f;
    FlowLayoutAbsolutePadded::Relayout();
    Redraw();
    if (notify) Announce(newPos == maxPos ? AtEnd : newPos == 0 ? AtStart : Moved, delta);
    return delta + ((pos + delta) - newPos);
}

void ScrollObject::Announce(int kind, int delta) {
    Signal::ScrollObjectSignal moved(IsHorizontal() ? 1 : 0, 0, kind, delta);
    SendSignalToSelf(moved);
}

void ScrollObject::Step(int steps) {
    const int step = std::max(Nearest(stepShare_ * Travel()), 1);
    MoveBar(steps * step, callbacksOn_);
}

void ScrollObject::Page(int pages) {
    // A page is what the bar stands for: the visible share, not the minimum size.
    const int length = IsHorizontal() ? GetWidth() : GetHeight();
    const int page = std::max(Nearest(barShare_ * length), 1);
    MoveBar(pages * page, callbacksOn_);
}

// --- the pointer --------------------------------------------------------------------------

void ScrollObject::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    if (!TakesPointer() || !bar_ || !IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    const int along = Along(signal.x, signal.y), place = Position(*bar_);
    if (along < place) {
        Page(-1);
    } else if (along >= place + Extent(*bar_)) {
        Page(1);
    } else {
        dragging_ = true;
        grab_ = along - place;
    }
}

void ScrollObject::OnMouseMove(Signal::MouseMove& signal) {
    FlowLayoutAbsolutePadded::OnMouseMove(signal);
    if (!dragging_) return;
    MoveBar(Along(signal.x, signal.y) - grab_ - Position(*bar_), callbacksOn_);
}

void ScrollObject::OnLeftButtonUp(Signal::LeftButtonUp& signal) {
    dragging_ = false;
    FlowLayoutAbsolutePadded::OnLeftButtonUp(signal);
}

void ScrollObject::OnWindowActivated(Signal::WindowActivated& signal) {
    FlowLayoutAbsolutePadded::OnWindowActivated(signal);
    if (!signal.activated) dragging_ = false;
}

void ScrollObject::OnMouseWheel(Signal::MouseWheel& signal) {
    if (!TakesPointer() || !IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    const int notches = wheel_.Take(signal.delta);
    // Turned away from the user: towards the start.
    if (notches != 0) Step(-notches);
}

}  // namespace Pym
