#pragma once

#include <memory>

#include "pym/gui/ImageButton.h"
#include "pym/gui/PopupMenuWindow.h"

namespace Pym {

// A picture button that owns a popup menu and opens it on a click: below itself, or, as an
// entry of another menu ("SubMenu"), to its right, which it also does after resting
// selected for a quarter of a second.
class MenuButton : public ImageButton {
public:
    // How long a submenu entry stays selected before its menu opens by itself.
    static constexpr double kSubmenuDelaySeconds = 0.25;

    MenuButton() = default;
    ~MenuButton() override;

    // Places the menu beside the button and toggles it.
    void OpenMenu();
    PopupMenuWindow* Menu() const { return menu_.get(); }
    bool IsSubmenu() const { return isSubmenu_; }

    void OnTimer(Signal::Timer& signal) override;
    bool NeedsTicks() const override;
    void OnLeftButtonDown(Signal::LeftButtonDown& signal) override;
    void OnSelectNextObject(Signal::SelectNextObject& signal) override;
    void SetSelected(bool select) override;
    bool Deselect() override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;

private:
    void BuildMenu(const std::string& path);
    void Clicked();
    // The popup menu this button is an entry of, or null.
    PopupMenuWindow* EnclosingMenu() const;
    // Opens the menu from the keyboard: with its first entry selected.
    void OpenMenuForKeyboard();

    bool isSubmenu_ = false;
    std::unique_ptr<PopupMenuWindow> menu_;
    double selectedSince_ = 0.0;
    // The menu opened by itself since the entry was selected; it does not open again until
    // the entry is selected anew.
    bool openedSinceSelected_ = false;
    // Whether the menu was open when the button was pressed: the click then only closes it.
    bool menuOpenAtPress_ = false;
    bool clickConnected_ = false;
};

}  // namespace Pym
