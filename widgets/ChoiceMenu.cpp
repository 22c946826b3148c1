#include "widgets/ChoiceMenu.h"

#include "widgets/ComboBox.h"
#include "widgets/MenuButton.h"

ChoiceMenu::ChoiceMenu(MenuButton& caption, ComboBox& list) : caption_(caption), list_(list) {}

bool ChoiceMenu::IsChoice(const std::string& name) {
    return name != ComboBox::kBackground;
}

void ChoiceMenu::Offer(const std::vector<std::string>& names) {
    populator_ = ComboPopulator();
    for (const std::string& name : names) populator_.Append(name);
    list_.Populate(populator_);
    // The rows are new: they are connected now. The background, connected again each time,
    // reports nothing that counts.
    list_.ConnectChoice([this](const std::string& name) {
        if (IsChoice(name) && handler_) handler_(name);
    });
    Show(names.empty() ? std::string() : names.front());
}

void ChoiceMenu::OnChosen(Handler handler) {
    handler_ = std::move(handler);
}

void ChoiceMenu::Show(const std::string& name) {
    caption_.SetText(name);
    list_.MarkChoice(name);
}

std::string ChoiceMenu::Shown() const {
    return caption_.GetText();
}
