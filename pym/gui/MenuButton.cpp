#include "pym/gui/MenuButton.h"

#include "pym/core/Clock.h"
#include "pym/core/ObjectFactory.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered =
    RegisterType<MenuButton>("Pym::MenuButton", "$PYM/Objects/MenuButton/MenuButton.xml");

enum Direction { Left = 0, Right = 1, Up = 2, Down = 3 };

}  // namespace

MenuButton::~MenuButton() {
    menu_.reset();
}

bool MenuButton::LoadFromXml(TiXmlElement* element) {
    if (!ImageButton::LoadFromXml(element)) return false;
    std::string path;
    if (!ReadAttribute(path, element, "Menu")) isSubmenu_ = ReadAttribute(path, element, "SubMenu");
    if (!path.empty()) BuildMenu(path);
    Resize(GetContentWidth(), GetContentHeight());
    return true;
}

void MenuButton::BuildMenu(const std::string& path) {
    menu_.reset();
    // The button's document as context: the menu floats over the same main window.
    TiXmlElement* root = GetRootElement(path, GetElement());
    if (!root) {
        Trace("Pym::MenuButton - " + GetName() + " has no menu document " + path);
        return;
    }
    std::unique_ptr<GuiObject> made =
        CreateNamedObject(root->ValueStr(), GetName() + "Menu", this, root);
    if (made && !dynamic_cast<PopupMenuWindow*>(made.get())) {
        Trace("Pym::MenuButton - " + path + " is not a popup menu");
        return;
    }
    if (!made) return;
    menu_.reset(static_cast<PopupMenuWindow*>(made.release()));
    AddChild(menu_.get(), false);
    if (!clickConnected_) {
        ConnectSlot(Signal::Activate::Id(), nullptr,
                    [this](Signal::Base&, GuiObject*) { Clicked(); });
        clickConnected_ = true;
    }
}

PopupMenuWindow* MenuButton::EnclosingMenu() const {
    return dynamic_cast<PopupMenuWindow*>(const_cast<MenuButton*>(this)->RouteRoot());
}

void MenuButton::OpenMenu() {
    if (!menu_) return;
    const int width = menu_->GetContentWidth(), height = menu_->GetContentHeight();
    if (width > 0 && height > 0) menu_->Resize(width, height);
    menu_->Relayout();
    PopupMenuWindow* enclosing = isSubmenu_ ? EnclosingMenu() : nullptr;
    if (enclosing) {
        enclosing->SetOpenSubmenu(menu_.get());
        menu_->Move(enclosing->GetX() + GetAbsoluteX() + GetWidth(),
                    enclosing->GetY() + GetAbsoluteY());
    } else {
        menu_->Move(GetAbsoluteX(), GetAbsoluteY() + GetHeight());
    }
    menu_->TogglePopup();
}

void MenuButton::OpenMenuForKeyboard() {
    if (!menu_) return;
    if (!menu_->IsVisible()) OpenMenu();
    menu_->SelectFirstEntry();
}

void MenuButton::Clicked() {
    // The press that closed the menu (it took the focus away) is not also a request to open
    // it again.
    const bool closedByThisPress = menuOpenAtPress_ && menu_ && !menu_->IsVisible();
    menuOpenAtPress_ = false;
    if (!closedByThisPress) OpenMenu();
}

void MenuButton::OnLeftButtonDown(Signal::LeftButtonDown& signal) {
    ImageButton::OnLeftButtonDown(signal);
    menuOpenAtPress_ = menu_ && menu_->IsVisible();
}

void MenuButton::SetSelected(bool select) {
    const bool was = IsSelected();
    ImageButton::SetSelected(select);
    if (!was && IsSelected()) {
        selectedSince_ = ClockSeconds();
        openedSinceSelected_ = false;
        if (isSubmenu_) SubscribeTicks();  // to open its menu after the delay
    }
}

bool MenuButton::Deselect() {
    const bool was = ImageButton::Deselect();
    // Another entry of the enclosing menu was chosen: this one's submenu goes.
    if (was && isSubmenu_ && menu_ && menu_->IsVisible()) menu_->HideMenu();
    return was;
}

void MenuButton::OnTimer(Signal::Timer& signal) {
    ImageButton::OnTimer(signal);
    if (!isSubmenu_ || !menu_ || !IsSelected() || menu_->IsVisible() || openedSinceSelected_)
        return;
    if (ClockSeconds() - selectedSince_ <= kSubmenuDelaySeconds) return;
    openedSinceSelected_ = true;
    OpenMenu();
}

bool MenuButton::NeedsTicks() const {
    // A submenu entry opens its menu after resting selected for a moment.
    return ImageButton::NeedsTicks() ||
           (isSubmenu_ && menu_ && IsSelected() && !menu_->IsVisible() && !openedSinceSelected_);
}

void MenuButton::OnSelectNextObject(Signal::SelectNextObject& signal) {
    ImageButton::OnSelectNextObject(signal);
    if (signal.handled || !menu_ || !IsSelected()) return;
    // Into the menu: right from a submenu entry, down from a button of a menu bar.
    const int into = isSubmenu_ ? Right : Down;
    if (signal.direction != into) return;
    OpenMenuForKeyboard();
    signal.handled = true;
}

}  // namespace Pym
