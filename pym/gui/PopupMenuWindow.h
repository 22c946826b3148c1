#pragma once

#include <memory>

#include "pym/gui/Window.h"

namespace Pym {

// A skinned window of type "Popup" that shows at a remembered place or at the pointer, hides
// when the focus leaves it, moves its selection with the arrow keys and keeps a chain of
// open submenus. Its entries are whatever objects its document lays out; tab stops give the
// keyboard order.
class PopupMenuWindow : public Window {
public:
    PopupMenuWindow();
    ~PopupMenuWindow() override;

    // The focus left the menu (state 1): hides it unless it is busy, stays open, or the focus
    // went to one of its open submenus.
    virtual void OnFocusLost(int state);
    void OnHideRequest() { SetVisible(false); }
    void SlotPopup(Signal::Base&) { TogglePopup(); }
    void SlotPopupAtCursor(Signal::Base&);
    // Hides the menu unless it is busy.
    void HideUnlessBusy();
    // Hidden: shows it where Move last put it. Shown: hides it.
    virtual void TogglePopup();
    // Shows the menu at (x, y) relative to the main window.
    virtual void PopupAt(int x, int y);
    void SetStayOpen(int stayOpen) { stayOpen_ = stayOpen; }
    void SetBusy(int busy) { busy_ = busy; }
    // Hides the menu and the submenus open from it, and clears their selection.
    void HideMenu();

    // Links a submenu opened from an entry of this menu; it hides with this menu.
    void SetOpenSubmenu(PopupMenuWindow* submenu);
    PopupMenuWindow* OpenSubmenu() const { return openSubmenu_; }
    PopupMenuWindow* ParentMenu() const { return parentMenu_; }
    // Selects the first entry in keyboard order (a menu opened from the keyboard).
    void SelectFirstEntry();
    // Activates the selected entry, as a click on it would.
    bool ActivateSelectedEntry();
    // Gives the keyboard to the menu's host window.
    void TakeFocus();

    bool IsMenu() const { return isMenu_; }
    int PopupX() const { return popupX_; }
    int PopupY() const { return popupY_; }
    int StayOpen() const { return stayOpen_; }
    int Busy() const { return busy_; }

    void Move(int x, int y) override;
    bool ClickNeedsHover() const override { return false; }
    void OnKeyPress(Signal::KeyPress& signal) override;
    void OnWindowActivated(Signal::WindowActivated& signal) override;
    void OnFocusChange(Signal::FocusChange& signal) override;

protected:
    bool LoadFromXml(TiXmlElement* element) override;
    void ShowMenu();
    // Empty once the menu is gone; for calls that may outlive it.
    std::weak_ptr<PopupMenuWindow*> AliveToken() const { return alive_; }

private:
    // Whether this menu's host or one of the open submenus below it has the keyboard.
    bool ChainHasFocus() const;
    bool HostHasFocus() const;
    // Whether an entry lies left of the selected one, for Left to move to.
    bool HasEntryLeftOfSelection() const;
    // Closes the menu from the keyboard; the menu it was opened from takes the keys again.
    void LeaveMenu();
    // Run once the focus has settled: hides the menu, and the menus it was opened from,
    // unless the keyboard is still somewhere in the chain.
    void HideIfFocusLeftChain();

    int popupX_ = 0, popupY_ = 0;
    int stayOpen_ = 0;
    int busy_ = 0;
    PopupMenuWindow* openSubmenu_ = nullptr;
    PopupMenuWindow* parentMenu_ = nullptr;
    bool isMenu_ = false;
    // Lets work posted for later find out whether the menu still exists.
    std::shared_ptr<PopupMenuWindow*> alive_ = std::make_shared<PopupMenuWindow*>(this);
};

}  // namespace Pym
