#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/ComboPopulator.h"

class ComboBox;
class MenuButton;

// A choice the user makes from a drop-down list: the list's caption button shows the current
// choice, the list opens with it selected, and a click on a row reports the row's name (never
// the list's background picture). Screens keep one per drop-down they drive.
class ChoiceMenu {
public:
    using Handler = std::function<void(const std::string& name)>;

    ChoiceMenu(MenuButton& caption, ComboBox& list);

    // False for what a list reports that is not one of its rows (its background picture).
    static bool IsChoice(const std::string& name);

    // Replaces the names offered; the caption shows the first until a choice is shown.
    void Offer(const std::vector<std::string>& names);
    // Runs on every row the user picks, with its name.
    void OnChosen(Handler handler);
    // Shows `name` as the current choice, offered or not.
    void Show(const std::string& name);

    std::string Shown() const;
    bool Offers(const std::string& name) const { return populator_.Offers(name); }
    const std::vector<std::string>& Names() const { return populator_.Names(); }

private:
    MenuButton& caption_;
    ComboBox& list_;
    ComboPopulator populator_;
    Handler handler_;
};
