#include "pym/gui/ObjectSlider.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<ObjectSlider>("Pym::ObjectSlider", "$PYM/Objects/ObjectSlider/ObjectSlider.xml");

// Children of an element that belong to the object holder, not to the slider's positions.
bool IsHolderElement(const std::string& tag) {
    static const std::set<std::string> tags{"CreateObject", "Object",    "CreateScreen",
                                            "Connect",      "Animation", "Alias"};
    return tags.count(tag) != 0;
}

}  // namespace

bool ObjectSlider::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    std::string orientation;
    ReadAttribute(orientation, element, "Orientation", true);
    horizontal_ = orientation != "Vertical";
    ReadAttribute(min_, element, "Min", true);
    ReadAttribute(max_, element, "Max", true);
    // Written the wrong way round, the ends are still the ends.
    if (max_ < min_) std::swap(min_, max_);
    ReadAttribute(readOnly_, element, "ReadOnly");
    if (!loaded_) {
        BuildPositions(element);
        loaded_ = true;
    }
    SetNotSelectable(0);
    value_ = std::clamp(value_, min_, max_);
    ShowPositionFor(value_);
    return true;
}

void ObjectSlider::BuildPositions(TiXmlElement* element) {
    for (TiXmlElement* child : GetChildElements(element)) {
        if (IsHolderElement(child->ValueStr())) continue;
        std::unique_ptr<GuiObject> made = CreateNamedObject(
            child->ValueStr(), "Position" + std::to_string(positions_.size()), this, child);
        if (!made) continue;  // the factory has reported it
        GuiObject* position = made.get();
        Adopt(std::move(made));
        AddChildAtFractions(position, 0, 0, 1.0f, 1.0f);
        position->SetVisible(false);
        positions_.push_back(position);
    }
}

void ObjectSlider::SetValue(int value) {
    value_ = std::clamp(value, min_, max_);
    ShowPositionFor(value_);
    Signal::ObjectSliderSignal changed(value_);
    SendSignalToSelf(changed);
    Redraw();
}

void ObjectSlider::ShowPositionFor(int value) {
    if (positions_.empty()) return;
    const int count = static_cast<int>(positions_.size());
    const int range = max_ - min_;
    // A slider over a single value shows its first position.
    const double fraction = range > 0 ? static_cast<double>(value - min_) / range : 0.0;
    const int index =
        std::clamp(static_cast<int>(std::lround(fraction * (count - 1))), 0, count - 1);
    GuiObject* next = positions_[static_cast<std::size_t>(index)];
    if (next == shown_) return;
    if (shown_) shown_->SetVisible(false);
    shown_ = next;
    shown_->SetVisible(true);
}

int ObjectSlider::ValueAt(int x, int y) const {
    const int range = max_ - min_;
    const int extent = horizontal_ ? GetWidth() : GetHeight();
    if (extent <= 0) return value_;
    const double along = static_cast<double>(horizontal_ ? x : y) / extent * range;
    const int steps = static_cast<int>(std::lround(along));
    return std::clamp(horizontal_ ? min_ + steps : max_ - steps, min_, max_);
}

int ObjectSlider::Step() const {
    const int gaps = static_cast<int>(positions_.size()) - 1;
    if (gaps < 1) return 1;
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(max_ - min_) / gaps)));
}

void ObjectSlider::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    if (!TakesPointer() || !IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    dragging_ = true;
    // Selected, the slider keeps hearing the pointer when a drag leaves it.
    if (!IsSelected()) Select();
    SetValue(ValueAt(signal.x, signal.y));
}

void ObjectSlider::OnMouseMove(Signal::MouseMove& signal) {
    GridLayout::OnMouseMove(signal);
    if (!dragging_) return;
    // A release the slider never heard (outside the window) ends the drag too.
    if (ScreenManager* manager = FindScreenManager(); manager && !manager->ButtonHeld()) {
        dragging_ = false;
        return;
    }
    SetValue(ValueAt(signal.x, signal.y));
}

void ObjectSlider::OnLeftButtonUp(Signal::LeftButtonUp& signal) {
    GridLayout::OnLeftButtonUp(signal);
    if (!readOnly_) dragging_ = false;
}

void ObjectSlider::OnMouseWheel(Signal::MouseWheel& signal) {
    if (!TakesPointer() || !IsVisible() || !HitTestLocal(signal.x, signal.y)) return;
    const int notches = wheel_.Take(signal.delta);
    // Away from the user is up, towards max, whichever way the slider lies.
    if (notches != 0) SetValue(value_ + notches * Step());
}

void ObjectSlider::OnWindowActivated(Signal::WindowActivated& signal) {
    GridLayout::OnWindowActivated(signal);
    if (!signal.activated) dragging_ = false;
}

}  // namespace Pym
