#include "widgets/MenuButton.h"

#include "pym/gui/ImageButton.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/Text.h"

namespace {

const bool registered = Pym::RegisterType<MenuButton>("MenuButton", "");
const bool registeredCombo = Pym::RegisterType<ComboMenuButton>("ComboMenuButton", "");
const bool registeredFocus = Pym::RegisterType<FocusMenuButton>("FocusMenuButton", "");

}  // namespace

// Selectable, unlike a plain grid: its selection is what it passes on.
MenuButton::MenuButton() : Pym::GridLayout(0) {}

void MenuButton::CreateFromXml(TiXmlElement* element) {
    Pym::GridLayout::CreateFromXml(element);
    button_ = GetXMLObject<Pym::GuiObject>("Button");
    buttonText_ = GetXMLObject<Pym::ImageButton>("ButtonText");
    SetText(GetName());
}

std::vector<Pym::Text*> MenuButton::StateTexts() const {
    std::vector<Pym::Text*> texts;
    if (!buttonText_) return texts;
    for (Pym::GuiObject* state : {buttonText_->SelectedPicture(), buttonText_->UnselectedPicture(),
                                  buttonText_->MouseOverPicture()})
        if (auto* text = dynamic_cast<Pym::Text*>(state)) texts.push_back(text);
    return texts;
}

void MenuButton::SetText(const std::string& text) {
    const bool changed = text != GetText();
    for (Pym::Text* state : StateTexts()) state->SetText(text);
    if (changed && !IsLoading()) OnTextChanged();
}

std::string MenuButton::GetText() const {
    if (!buttonText_) return {};
    auto* selected = dynamic_cast<Pym::Text*>(buttonText_->SelectedPicture());
    return selected ? selected->GetText() : std::string();
}

void MenuButton::OnSelectObject(Pym::Signal::SelectObject& signal) {
    Pym::GridLayout::OnSelectObject(signal);
    const bool selected = IsSelected();
    if (button_) button_->OnSelectRequest(signal, selected);
    if (buttonText_) buttonText_->OnSelectRequest(signal, selected);
    if (selected != wasSelected_) {
        wasSelected_ = selected;
        OnSelectionChanged(selected);
    }
}

void MenuButton::RaiseStartAnimation() {
    Raise<Pym::Signal::MenuButtonStartAnimation>();
}

void ComboMenuButton::CreateFromXml(TiXmlElement* element) {
    MenuButton::CreateFromXml(element);
    for (Pym::Text* state : StateTexts()) state->SetAlignment(Pym::Text::Centered);
}

void ComboMenuButton::RaiseStartAnimation() {
    Raise<Pym::Signal::ComboMenuButtonStartAnimation>();
}

void FocusMenuButton::OnWindowSized(Pym::Signal::WindowSized& signal) {
    MenuButton::OnWindowSized(signal);
    auto* parent = dynamic_cast<Pym::GridLayout*>(GetParent());
    const Pym::LayoutObject* place = parent ? parent->PlaceOf(this) : nullptr;
    if (place) parent->PlaceChild(this, place->xPos, place->yPos, place->width, place->height);
}

void FocusMenuButton::OnSelectionChanged(bool selected) {
    if (selected) RaiseStartAnimation();
}

void FocusMenuButton::RaiseStartAnimation() {
    Raise<Pym::Signal::FocusMenuButtonStartAnimation>();
}
