#include "pym/gui/PopupMenuWindow.h"

#include <cstdint>

#include "platform/HostWindow.h"
#include "pym/core/Document.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/RegisterType.h"

namespace Pym {

namespace {

const bool registered = RegisterType<PopupMenuWindow>(
    "Pym::PopupMenuWindow", "$PYM/Objects/PopupMenuWindow/PopupMenuWindow.xml");
const bool registeredPopup =
    RegisterSlot("Pym::PopupMenuWindow::SlotPopup", &PopupMenuWindow::SlotPopup);
const bool registeredAtCursor =
    RegisterSlot("Pym::PopupMenuWindow::SlotPopupAtCursor", &PopupMenuWindow::SlotPopupAtCursor);

constexpr std::uint32_t kEnter = 13, kEscape = 27;

// The navigation direction an arrow key asks for, or -1.
int DirectionOf(std::uint32_t key) {
    switch (key) {
        case Platform::KeyLeft | Platform::kKeyDownBit:
            return 0;
        case Platform::KeyRight | Platform::kKeyDownBit:
            return 1;
        case Platform::KeyUp | Platform::kKeyDownBit:
            return 2;
        case Platform::KeyDown | Platform::kKeyDownBit:
            return 3;
        default:
            return -1;
    }
}

GuiObject* FirstSelected(GuiObject& object) {
    for (GuiObject* child : object.Children()) {
        if (child->IsSelected()) return child;
        if (GuiObject* inner = FirstSelected(*child)) return inner;
    }
    return nullptr;
}

}  // namespace

PopupMenuWindow::PopupMenuWindow() = default;

PopupMenuWindow::~PopupMenuWindow() {
    *alive_ = nullptr;
    if (parentMenu_ && parentMenu_->openSubmenu_ == this) parentMenu_->openSubmenu_ = nullptr;
    if (openSubmenu_ && openSubmenu_->parentMenu_ == this) openSubmenu_->parentMenu_ = nullptr;
}

bool PopupMenuWindow::LoadFromXml(TiXmlElement* element) {
    // A menu floats over its owner, whatever the document says.
    WriteAttribute(std::string("Popup"), element, "Type");
    if (!Window::LoadFromXml(element)) return false;
    if (GetType() != Popup) {
        Trace(XmlErrorText(element, "Trying to create PopupMenu with window of type != Popup"));
        return true;
    }
    isMenu_ = true;
    SetNotSelectable(0);
    // The window itself takes the keys, whichever entry is selected.
    SetForceSelected(true);
    ConnectSlot(Signal::Hide::Id(), nullptr,
                [this](Signal::Base&, GuiObject*) { OnHideRequest(); });
    return true;
}

// --- showing and hiding -------------------------------------------------------------------

void PopupMenuWindow::Move(int x, int y) {
    popupX_ = x;
    popupY_ = y;
    Window::Move(x, y);
}

void PopupMenuWindow::ShowMenu() {
    SetVisible(true);
    RestartLayoutAnimation();
    TakeFocus();
    Redraw();
}

void PopupMenuWindow::TogglePopup() {
    if (IsVisible()) {
        HideMenu();
        return;
    }
    Move(popupX_, popupY_);
    ShowMenu();
}

void PopupMenuWindow::PopupAt(int x, int y) {
    Move(x, y);
    Signal::WindowSized reshape(GetWidth(), GetHeight());
    OnWindowSized(reshape);
    ShowMenu();
}

void PopupMenuWindow::SlotPopupAtCursor(Signal::Base&) {
    Document* document = Document::Of(GetElement());
    GuiObject* main = document ? document->LookupOwnerWindow() : nullptr;
    if (!main) {
        Trace("Pym::PopupMenuWindow - no main window to find the pointer in for " + GetName());
        return;
    }
    PopupAt(main->MouseX(), main->MouseY());
}

void PopupMenuWindow::HideUnlessBusy() {
    if (!busy_) HideMenu();
}

void PopupMenuWindow::HideMenu() {
    busy_ = 0;
    // The whole chain goes: a submenu left standing without its menu leads nowhere.
    if (openSubmenu_) {
        PopupMenuWindow* submenu = openSubmenu_;
        openSubmenu_ = nullptr;
        submenu->HideMenu();
    }
    // Both ends of the link go: a parent that dies after this one was hidden must not be
    // reached from here again.
    if (parentMenu_ && parentMenu_->openSubmenu_ == this) parentMenu_->openSubmenu_ = nullptr;
    parentMenu_ = nullptr;
    SetVisible(false);
    ClearSelectionRecursive();
}

void PopupMenuWindow::SetOpenSubmenu(PopupMenuWindow* submenu) {
    if (openSubmenu_ && openSubmenu_ != submenu) openSubmenu_->HideMenu();
    // A submenu belongs to one menu at a time.
    if (submenu && submenu->parentMenu_ && submenu->parentMenu_ != this &&
        submenu->parentMenu_->openSubmenu_ == submenu)
        submenu->parentMenu_->openSubmenu_ = nullptr;
    openSubmenu_ = submenu;
    if (submenu) submenu->parentMenu_ = this;
}

// --- focus --------------------------------------------------------------------------------

bool PopupMenuWindow::HostHasFocus() const {
    return Host() && Host()->Native().HasFocus();
}

bool PopupMenuWindow::ChainHasFocus() const {
    for (const PopupMenuWindow* menu = this; menu; menu = menu->openSubmenu_)
        if (menu->IsVisible() && menu->HostHasFocus()) return true;
    return false;
}

void PopupMenuWindow::TakeFocus() {
    if (Host() && isMenu_ && !stayOpen_) Host()->Native().Focus();
}

void PopupMenuWindow::OnFocusLost(int state) {
    if (!isMenu_ || state != 1 || busy_ || stayOpen_ || !IsVisible()) return;
    // Where the focus went is known only once the events of the change are all in: it may
    // have gone to a submenu of this one.
    std::weak_ptr<PopupMenuWindow*> alive = alive_;
    Platform::Host().Post([alive] {
        if (auto menu = alive.lock(); menu && *menu) (*menu)->HideIfFocusLeftChain();
    });
}

void PopupMenuWindow::HideIfFocusLeftChain() {
    if (!IsVisible() || busy_ || stayOpen_ || ChainHasFocus()) return;
    PopupMenuWindow* parent = parentMenu_;
    HideMenu();
    // The menus this one was opened from close too, up to one that has the keyboard.
    while (parent && parent->IsVisible() && !parent->busy_ && !parent->stayOpen_ &&
           !parent->HostHasFocus()) {
        PopupMenuWindow* next = parent->parentMenu_;
        parent->HideMenu();
        parent = next;
    }
}

void PopupMenuWindow::OnWindowActivated(Signal::WindowActivated& signal) {
    Window::OnWindowActivated(signal);
    if (!signal.activated) OnFocusLost(1);
}

void PopupMenuWindow::OnFocusChange(Signal::FocusChange& signal) {
    Window::OnFocusChange(signal);
    OnFocusLost(signal.value);
}

// --- keyboard -----------------------------------------------------------------------------

void PopupMenuWindow::OnKeyPress(Signal::KeyPress& signal) {
    Window::OnKeyPress(signal);
    if (!isMenu_ || !IsVisible()) return;
    const auto key = static_cast<std::uint32_t>(signal.key);
    const int direction = DirectionOf(key);
    if (key == kEscape || (direction == 0 && parentMenu_ && !HasEntryLeftOfSelection())) {
        LeaveMenu();
    } else if (direction >= 0) {
        Signal::SelectNextObject next(direction);
        SendSignal(this, next);
    } else if (key == kEnter) {
        ActivateSelectedEntry();
    }
}

bool PopupMenuWindow::HasEntryLeftOfSelection() const {
    int column = -1;
    for (const TabStop& stop : TabStops())
        if (stop.child->IsSelected() || stop.child->HasSelectedDescendant()) {
            column = stop.column;
            break;
        }
    for (const TabStop& stop : TabStops())
        if (stop.column < column && stop.child->IsVisible()) return true;
    return false;
}

void PopupMenuWindow::LeaveMenu() {
    PopupMenuWindow* parent = parentMenu_;
    HideMenu();
    // The keyboard goes back to the menu this one was opened from.
    if (parent && parent->IsVisible()) parent->TakeFocus();
}

void PopupMenuWindow::SelectFirstEntry() {
    if (TabStops().empty()) return;
    GuiObject* first = TabStops().front().child;
    if (first->IsVisible() && !first->IsSelected()) first->Select();
}

bool PopupMenuWindow::ActivateSelectedEntry() {
    GuiObject* entry = FirstSelected(*this);
    if (!entry) return false;
    Signal::Activate activate;
    entry->SendSignalToSelf(activate);
    return true;
}

}  // namespace Pym
