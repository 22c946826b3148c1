#include "pym/gui/ToggleButton.h"

#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<ToggleButton>("Pym::ToggleButton", "$PYM/Objects/ToggleButton/ToggleButton.xml");
const bool registeredToggle =
    RegisterSlot("Pym::ToggleButton::SlotToggle", &ToggleButton::SlotToggle);

}  // namespace

ToggleButton::ToggleButton() : GuiObject(/*notSelectable=*/0, /*sizeLocked=*/0) {
    // Connected first, so the skin's own Activate slots see the new state.
    ConnectSlot(Signal::Activate::Id(), nullptr, [this](Signal::Base&, GuiObject*) {
        Toggle();
        Redraw();
    });
}

bool ToggleButton::LoadFromXml(TiXmlElement* element) {
    if (!GuiObject::LoadFromXml(element)) return false;
    if (!loaded_) {
        // Both pictures are required: a toggle that cannot show its state is a skin error.
        upPicture_ = pictures_.Build(*this, element, "Up");
        if (!upPicture_) ReportXmlError(element, "Up");
        downPicture_ = pictures_.Build(*this, element, "Down");
        if (!downPicture_) ReportXmlError(element, "Down");
        AddChild(upPicture_, true);
        AddChild(downPicture_, true);
        loaded_ = true;
    }
    int state = 1;
    ReadAttribute(state, element, "ButtonState");
    down_ = state == 0;
    previous_ = down_;
    ApplyState();
    return true;
}

void ToggleButton::ApplyState() {
    if (loaded_) pictures_.ShowOnly(down_ ? downPicture_ : upPicture_);
}

void ToggleButton::Toggle() {
    previous_ = down_;
    down_ = !down_;
    ApplyState();
}

void ToggleButton::SetDown(bool down) {
    if (down == down_) return;
    Toggle();
    Redraw();
}

bool ToggleButton::Resize(int width, int height) {
    if (!GuiObject::Resize(width, height)) return false;
    for (GuiObject* picture : pictures_.All()) picture->Resize(width, height);
    return true;
}

}  // namespace Pym
