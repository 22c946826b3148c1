#include "pym/gui/Screen.h"

#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

namespace {

const bool registered = RegisterType<Screen>("Pym::Screen", "$PYM/Objects/Screen/Screen.xml");
const bool registeredBack = RegisterSlot("Pym::Screen::SlotScreenBack", &Screen::SlotScreenBack);
const bool registeredReset =
    RegisterSlot("Pym::Screen::SlotResetBackStack", &Screen::SlotResetBackStack);

}  // namespace

Screen::Screen() = default;

bool Screen::LoadFromXml(TiXmlElement* element) {
    if (!GridLayout::LoadFromXml(element)) return false;
    ConnectSlot(Signal::WindowSized::Id(), nullptr, [this](Signal::Base& signal, GuiObject*) {
        OnSized(static_cast<Signal::WindowSized&>(signal));
    });
    ConnectSlot(Signal::ScreenActivation::Id(), nullptr, [this](Signal::Base& signal, GuiObject*) {
        OnActivation(static_cast<Signal::ScreenActivation&>(signal));
    });
    return true;
}

void Screen::OnSized(Signal::WindowSized& signal) {
    Resize(signal.width, signal.height);
    Relayout();
    Redraw();
}

void Screen::OnActivation(Signal::ScreenActivation& signal) {
    if (!signal.active) return;
    RestartLayoutAnimation();
    if (ScreenManager* manager = FindScreenManager())
        if (GuiObject* first = FirstFocusable()) manager->SetFocus(first);
    Redraw();
}

GuiObject* Screen::FirstFocusable() const {
    for (GuiObject* child : Children())
        if (child->IsVisible() && !child->GetNotSelectable()) return child;
    return nullptr;
}

void Screen::SlotScreenBack(Signal::Base&) {
    if (ScreenManager* manager = FindScreenManager()) manager->ScreenBack();
}

void Screen::SlotResetBackStack(Signal::Base&) {
    if (ScreenManager* manager = FindScreenManager()) manager->ResetBackStack();
}

}  // namespace Pym
