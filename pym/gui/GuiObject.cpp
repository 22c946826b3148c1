#include "pym/gui/GuiObject.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "pym/core/CoreSingletons.h"
#include "pym/core/Document.h"
#include "pym/core/RegisterType.h"
#include "pym/core/ScreenManager.h"
#include "pym/core/SignalRoute.h"
#include "pym/core/Singleton.h"
#include "pym/core/XmlConnections.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gui/ToolTipHook.h"

namespace Pym {

namespace {

const bool registeredShow = RegisterSlot("Pym::GuiObject::SlotShow", &GuiObject::SlotShow);
const bool registeredHide = RegisterSlot("Pym::GuiObject::SlotHide", &GuiObject::SlotHide);

// Calls `handler` with the signal as class S when it is one.
template <class S, class Handler>
bool Dispatch(Signal::Base& signal, Handler handler) {
    if (signal.id != S::Id()) return false;
    handler(static_cast<S&>(signal));
    return true;
}

bool Hits(const GuiObject& object, const Signal::Base& signal) {
    if (!signal.IsPositional()) return false;
    const auto& point = static_cast<const Signal::Positional&>(signal);
    return object.HitTestLocal(point.x + point.offsetX, point.y + point.offsetY);
}

}  // namespace

GuiObject::GuiObject(int notSelectable, int sizeLocked)
    : sizeLocked_(sizeLocked),
      notSelectable_(notSelectable),
      id_(DllIdFactoryInstance().NextId()) {}

GuiObject::~GuiObject() {
    DetachFromTree();
    if (GlobalObjectFactory_* factory = Singleton<GlobalObjectFactory_>::IfAlive())
        factory->ForgetObject(this);
    // Newest first, so objects made later (which may refer to earlier ones) go first.
    while (!owned_.empty()) owned_.pop_back();
}

void GuiObject::DetachFromTree() {
    for (GuiObject* child : children_)
        if (child->parent_ == this) child->parent_ = nullptr;
    for (const auto& object : owned_)
        if (object->parent_ == this) object->parent_ = nullptr;
    children_.clear();
    if (parent_) parent_->ForgetChild(this);
    parent_ = nullptr;
}

bool GuiObject::Build(TiXmlElement* element) {
    element_ = element;
    LoadingScope loading(*this);
    if (!element) return true;
    if (!LoadFromXml(element)) return false;
    CreateFromXml(element);
    return true;
}

bool GuiObject::LoadFromXml(TiXmlElement* element) {
    std::string text;
    if (ReadAttribute(text, element, "GlobalName"))
        DllGlobalObjectFactoryInstance().RegisterGlobalName(text, this);
    if (ReadAttribute(text, element, "Name")) SetName(text);
    ReadAttribute(alpha_, element, "Alpha");
    if (Document* document = Document::Of(element))
        screenManager_ = document->LookupOwnerScreenManager();
    if (ReadAttribute(text, element_, "ToolTip")) {
        toolTipText_ = text;
        toolTipObject_.reset();  // rebuilt with the new text when next shown
    }
    return true;
}

// --- signals ------------------------------------------------------------------------------

bool GuiObject::WantsSignalForChildren(const Signal::Base& signal) {
    if (signal.IsBroadcast()) return true;
    return visible_ && (Hits(*this, signal) || HasSelectedDescendant());
}

bool GuiObject::WantsSignal(const Signal::Base& signal) {
    if (signal.IsBroadcast() || inVisibilityDispatch_ || forcedAcceptance_) return true;
    // A hidden object takes no directed signal, hit or not.
    return visible_ && (IsSelected() || Hits(*this, signal));
}

void GuiObject::HandleSignal(Signal::Base& signal) {
    using namespace Signal;
    Dispatch<Timer>(signal, [this](Timer& s) { OnTimer(s); }) ||
        Dispatch<MouseMove>(signal, [this](MouseMove& s) { OnMouseMove(s); }) ||
        Dispatch<LeftButtonDown>(signal, [this](LeftButtonDown& s) { OnLeftButtonDown(s); }) ||
        Dispatch<LeftButtonUp>(signal, [this](LeftButtonUp& s) { OnLeftButtonUp(s); }) ||
        Dispatch<LeftButtonDblClk>(signal,
                                   [this](LeftButtonDblClk& s) { OnLeftButtonDblClk(s); }) ||
        Dispatch<RightButtonDown>(signal, [this](RightButtonDown& s) { OnRightButtonDown(s); }) ||
        Dispatch<RightButtonUp>(signal, [this](RightButtonUp& s) { OnRightButtonUp(s); }) ||
        Dispatch<MouseWheel>(signal, [this](MouseWheel& s) { OnMouseWheel(s); }) ||
        Dispatch<KeyPress>(signal, [this](KeyPress& s) { OnKeyPress(s); }) ||
        Dispatch<SelectObject>(signal, [this](SelectObject& s) { OnSelectObject(s); }) ||
        Dispatch<SelectNextObject>(signal,
                                   [this](SelectNextObject& s) { OnSelectNextObject(s); }) ||
        Dispatch<Signal::ShowToolTip>(signal,
                                      [this](Signal::ShowToolTip& s) { OnToolTipHover(s); }) ||
        Dispatch<WindowActivated>(signal, [this](WindowActivated& s) { OnWindowActivated(s); }) ||
        Dispatch<ConnectXMLSlots>(signal, [this](ConnectXMLSlots& s) { OnConnectXmlSlots(s); }) ||
        Dispatch<ObjectReady>(signal, [this](ObjectReady& s) { OnObjectReady(s); }) ||
        Dispatch<WindowSized>(signal, [this](WindowSized& s) { OnWindowSized(s); }) ||
        Dispatch<FocusChange>(signal, [this](FocusChange& s) { OnFocusChange(s); }) ||
        Dispatch<DropFile>(signal, [this](DropFile& s) { OnDropFile(s); });
}

void GuiObject::SendSignal(GuiObject* sender, Signal::Base& signal) {
    SignalRoute::Send(sender, signal);
}

void GuiObject::DeliverSignal(Signal::Base& signal, bool recurse) {
    SignalRoute::Deliver(this, signal, recurse);
}

void GuiObject::SendSignalToSelf(Signal::Base& signal, GuiObject* onBehalf) {
    SignalRoute::SendToSelf(this, signal, onBehalf);
}

// --- tree ---------------------------------------------------------------------------------

void GuiObject::AddAbsoluteX(int& value) const {
    if (isWindow_) return;
    value += x_;
    if (parent_) parent_->AddAbsoluteX(value);
}

void GuiObject::AddAbsoluteY(int& value) const {
    if (isWindow_) return;
    value += y_;
    if (parent_) parent_->AddAbsoluteY(value);
}

int GuiObject::GetAbsoluteX() const {
    int value = 0;
    AddAbsoluteX(value);
    return value;
}

int GuiObject::GetAbsoluteY() const {
    int value = 0;
    AddAbsoluteY(value);
    return value;
}

void GuiObject::AddChild(GuiObject* child, bool relayout) {
    // An object inside itself would make every walk of the tree endless.
    if (!child || child == this || child->IsAncestorOf(this)) {
        Trace("Pym::GuiObject::AddChild - refused to add " +
              (child ? child->GetName() : std::string("null")) + " to " + GetName());
        return;
    }
    const bool window = child->IsWindow();
    // An object has one place in the tree: adding it elsewhere moves it.
    if (child->parent_ && child->parent_ != this) child->parent_->ForgetChild(child);
    child->parent_ = this;
    child->active_ = active_;
    if (window) {
        // A window draws itself in its own host window; it only joins the tree's wiring.
        Signal::ConnectXMLSlots connect;
        connect.sender = this;
        child->DeliverSignal(connect, true);
        Signal::ObjectReady ready;
        ready.sender = this;
        child->DeliverSignal(ready, true);
        return;
    }
    if (std::find(children_.begin(), children_.end(), child) != children_.end()) return;
    children_.push_back(child);
    if (relayout) Relayout();
}

void GuiObject::ReadTabCoordinates(GuiObject* child, const TiXmlElement* element) {
    int column = 0, row = 0;
    const bool hasColumn = ReadAttribute(column, element, "TabCoordX");
    const bool hasRow = ReadAttribute(row, element, "TabCoordY");
    if (hasColumn && hasRow) AddTabStop(child, column, row);
}

void GuiObject::AddTabStop(GuiObject* child, int column, int row) {
    const bool first = tabStops_.empty();
    tabStops_.push_back({column, row, child});
    if (first && child->IsVisible()) child->Select();
}

bool GuiObject::RemoveChild(GuiObject* child, bool relayout) {
    auto removed = std::remove(children_.begin(), children_.end(), child);
    const bool found = removed != children_.end();
    children_.erase(removed, children_.end());
    if (found && relayout) Relayout();
    return found;
}

void GuiObject::ForgetChild(GuiObject* child) {
    RemoveChild(child, false);
    std::erase_if(tabStops_, [child](const TabStop& stop) { return stop.child == child; });
    if (child->parent_ == this) child->parent_ = nullptr;
}

// --- geometry -----------------------------------------------------------------------------

namespace {

// The largest right (or bottom) edge of the descendants, each in its parent's coordinates.
int LargestEdge(const GuiObject& object, bool horizontal) {
    int edge = 0;
    for (const GuiObject* child : object.Children()) {
        int start = child->IsWindow() ? 0 : (horizontal ? child->GetX() : child->GetY());
        int extent = horizontal ? child->GetWidth() : child->GetHeight();
        edge = std::max({edge, start + extent, LargestEdge(*child, horizontal)});
    }
    return edge;
}

int ContentExtent(const GuiObject& object, bool horizontal) {
    if (object.Children().empty()) return 0;
    int smallest = INT_MAX;
    for (const GuiObject* child : object.Children())
        smallest = std::min(smallest, horizontal ? child->GetX() : child->GetY());
    const int largest = LargestEdge(object, horizontal);
    return largest - std::min(largest, smallest);
}

}  // namespace

int GuiObject::GetContentWidth() const {
    return ContentExtent(*this, true);
}

int GuiObject::GetContentHeight() const {
    return ContentExtent(*this, false);
}

int GuiObject::GetMaxChildWidth() const {
    int widest = 0;
    for (const GuiObject* child : children_) widest = std::max(widest, child->GetWidth());
    return widest;
}

int GuiObject::GetMaxChildHeight() const {
    int highest = 0;
    for (const GuiObject* child : children_) highest = std::max(highest, child->GetHeight());
    return highest;
}

void GuiObject::OnLayoutReady() {
    for (GuiObject* child : children_) child->OnLayoutReady();
}

void GuiObject::Move(int x, int y) {
    SetX(x);
    SetY(y);
}

bool GuiObject::Resize(int width, int height) {
    if (sizeLocked_) return false;
    SetWidth(width);
    SetHeight(height);
    return true;
}

void GuiObject::SetSizeUnchecked(int width, int height) {
    SetWidth(width);
    SetHeight(height);
}

bool GuiObject::HitTest(int absX, int absY) {
    return HitTestLocal(absX - GetAbsoluteX(), absY - GetAbsoluteY());
}

bool GuiObject::HitTestLocal(int x, int y) const {
    return x >= 0 && x < width_ && y >= 0 && y < height_;
}

void GuiObject::Relayout() {
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->Relayout();
}

void GuiObject::Redraw() {
    // Without a screen manager there is nothing to repaint yet.
    if (ScreenManager* manager = FindScreenManager())
        manager->Invalidate(GetAbsoluteX(), GetAbsoluteY(), width_, height_);
}

// --- state --------------------------------------------------------------------------------

bool GuiObject::IsMouseOverChild() const {
    if (!mouseOver_) return false;
    return std::any_of(children_.begin(), children_.end(),
                       [](const GuiObject* child) { return child->IsMouseOver(); });
}

bool GuiObject::ClickNeedsHover() const {
    if (isWindow_ || !parent_) return true;
    return parent_->ClickNeedsHover();
}

void GuiObject::SetVisible(bool visible) {
    visible_ = visible;
    // Announced to the object itself, which takes it even when it has just become hidden.
    Signal::ObjectVisibilityChange change(visible ? 1 : 0, this);
    change.sender = this;
    inVisibilityDispatch_ = true;
    DeliverSignal(change, false);
    inVisibilityDispatch_ = false;
}

bool GuiObject::IsVisibleRecursive() const {
    for (const GuiObject* object = this; object; object = object->parent_)
        if (!object->visible_) return false;
    return true;
}

bool GuiObject::Overlaps(const GuiObject& other) const {
    if (!other.IsVisible()) return false;
    const int ax = GetAbsoluteX(), ay = GetAbsoluteY();
    const int bx = other.GetAbsoluteX(), by = other.GetAbsoluteY();
    return ax < bx + other.GetWidth() && bx < ax + width_ && ay < by + other.GetHeight() &&
           by < ay + height_;
}

// --- selection ----------------------------------------------------------------------------

void GuiObject::OnSelectRequest(Signal::SelectObject& signal, bool select) {
    const bool was = selected_;
    SetSelected(select);
    if (!was && selected_) signal.selected.insert(this);
}

void GuiObject::SetSelected(bool select) {
    if (!select) {
        Deselect();
        return;
    }
    if (selected_ || !visible_ || notSelectable_) return;
    selected_ = true;
    Signal::ObjectSelected selectedSignal;
    SendSignalToSelf(selectedSignal);
}

void GuiObject::Select() {
    const int x = GetAbsoluteX(), y = GetAbsoluteY();
    Signal::SelectObject selectPass(x, y, this);
    selectPass.selectPass = 1;
    SendSignal(this, selectPass);
    Signal::SelectObject deselectPass(x, y, this);
    deselectPass.selectPass = 0;
    SendSignal(this, deselectPass);
}

bool GuiObject::Deselect() {
    if (!selected_) return false;
    selected_ = false;
    Signal::ObjectDeselected deselected;
    SendSignalToSelf(deselected);
    return true;
}

void GuiObject::ClearSelectionRecursive() {
    selected_ = false;
    for (GuiObject* child : children_) child->ClearSelectionRecursive();
}

bool GuiObject::HasSelectedDescendant() const {
    return std::any_of(children_.begin(), children_.end(), [](const GuiObject* child) {
        return child->IsSelected() || child->HasSelectedDescendant();
    });
}

void GuiObject::OnSelectObject(Signal::SelectObject& signal) {
    const bool hit = HitTestLocal(signal.x, signal.y);
    if (signal.selectPass) {
        if (visible_ && hit && !selected_ && !notSelectable_) {
            OnSelectRequest(signal, true);
            Redraw();
        }
    } else if (selected_ && signal.sender != this && visible_ && !hit) {
        Deselect();
        Redraw();
    }
}

// --- navigation ---------------------------------------------------------------------------

namespace {

void NeighbourCell(int direction, int& column, int& row) {
    switch (direction) {
        case 0:
            column = std::max(0, column - 1);
            break;
        case 1:
            ++column;
            break;
        case 2:
            row = std::max(0, row - 1);
            break;
        case 3:
            ++row;
            break;
        default:
            break;
    }
}

}  // namespace

const TabStop* GuiObject::FindTabStop(int column, int row, const GuiObject* current) const {
    for (const TabStop& stop : tabStops_)
        if (stop.column == column && stop.row == row && stop.child->IsVisible()) return &stop;
    int minColumn = INT_MAX, maxColumn = INT_MIN, minRow = INT_MAX, maxRow = INT_MIN;
    for (const TabStop& stop : tabStops_) {
        minColumn = std::min(minColumn, stop.column);
        maxColumn = std::max(maxColumn, stop.column);
        minRow = std::min(minRow, stop.row);
        maxRow = std::max(maxRow, stop.row);
    }
    if (column < minColumn || column > maxColumn || row < minRow || row > maxRow) return nullptr;
    // No stop at the cell itself: the nearest thing in its column or row. Hidden stops and
    // the current one are never targets, whichever line matched.
    for (const TabStop& stop : tabStops_) {
        if (stop.child == current || !stop.child->IsVisible()) continue;
        if (stop.column == column || stop.row == row) return &stop;
    }
    return nullptr;
}

bool GuiObject::NavigateFrom(const TabStop& stop, int direction) {
    int column = stop.column, row = stop.row;
    NeighbourCell(direction, column, row);
    const TabStop* target = FindTabStop(column, row, stop.child);
    if (!target) return false;
    target->child->SelectByNavigation();
    return true;
}

void GuiObject::OnSelectNextObject(Signal::SelectNextObject& signal) {
    if (signal.handled || tabStops_.empty()) return;
    const int direction = signal.direction;
    if (HasSelectedDescendant()) {
        auto current = std::find_if(tabStops_.begin(), tabStops_.end(), [](const TabStop& s) {
            return s.child->IsSelected() || s.child->HasSelectedDescendant();
        });
        if (current != tabStops_.end() && current->child->AcceptsNavigation(direction)) {
            const TabStop from = *current;  // selecting may change the list
            signal.handled = NavigateFrom(from, direction);
        }
    } else {
        for (std::size_t i = 0; i < tabStops_.size(); ++i) {
            const TabStop from = tabStops_[i];
            if (!from.child->AcceptsNavigation(direction)) continue;
            int column = from.column, row = from.row;
            NeighbourCell(direction, column, row);
            if (FindTabStop(column, row, from.child)) {
                signal.handled = NavigateFrom(from, direction);
                break;
            }
        }
    }
    Redraw();
}

// --- pointer and focus --------------------------------------------------------------------

void GuiObject::OnLeftButtonUp(Signal::LeftButtonUp& signal) {
    const bool click =
        visible_ && (mouseOver_ || !ClickNeedsHover()) && HitTestLocal(signal.x, signal.y);
    mouseOver_ = false;
    if (click) {
        Signal::Activate activate;
        SendSignalToSelf(activate);
        // Raised with the point in host-window coordinates; delivery makes it local again.
        Signal::MouseClick mouseClick(signal.x - signal.offsetX, signal.y - signal.offsetY);
        SendSignalToSelf(mouseClick);
    }
    Redraw();
}

void GuiObject::OnMouseMove(Signal::MouseMove& signal) {
    mouseX_ = signal.x;
    mouseY_ = signal.y;
    mouseOver_ = visible_ && HitTestLocal(signal.x, signal.y);
    Redraw();
}

void GuiObject::OnWindowActivated(Signal::WindowActivated& signal) {
    active_ = signal.activated != 0;
    if (active_) {
        mouseOver_ = false;
        return;
    }
    if (!keepSelection_) selected_ = false;
    if (ScreenManager* manager = FindScreenManager()) manager->ClearPointerRecords();
}

void GuiObject::OnToolTipHover(Signal::ShowToolTip& signal) {
    if (signal.claimedBy || !IsVisibleRecursive()) return;
    if (ShowToolTip(visible_ && HitTestLocal(signal.x, signal.y), signal.x, signal.y))
        signal.claimedBy = this;
}

bool GuiObject::ShowToolTip(bool show, int x, int y) {
    (void)y;
    if (!show) {
        if (toolTipObject_) toolTipObject_->Hide();
        return false;
    }
    if (!active_ || toolTipText_.empty()) return false;
    if (!toolTipObject_) {
        const ToolTipFactory& factory = GetToolTipFactory();
        if (factory) toolTipObject_ = factory(*this, toolTipText_);
        if (!toolTipObject_) return false;
    }
    const int top = (isWindow_ ? 0 : y_) - toolTipObject_->Height() - 2;
    toolTipObject_->ShowAt(x, top);
    return true;
}

void GuiObject::OnConnectXmlSlots(Signal::ConnectXMLSlots&) {
    XmlConnections::ConnectAll(this);
}

// --- drawing ------------------------------------------------------------------------------

void GuiObject::Draw(Gfx::DrawContext& context) {
    if (!visible_ || alpha_ <= 0.0f) return;
    std::optional<Gfx::AlphaScope> alpha;
    if (alpha_ < 1.0f) alpha.emplace(context, alpha_);
    if (!drawSelfAfterChildren_) DrawSelf(context);
    const float dx = isWindow_ ? 0.0f : static_cast<float>(x_);
    const float dy = isWindow_ ? 0.0f : static_cast<float>(y_);
    context.Translate(dx, dy);
    for (GuiObject* child : children_) child->Draw(context);
    context.Translate(-dx, -dy);
    if (drawSelfAfterChildren_) DrawSelf(context);
}

// --- slots --------------------------------------------------------------------------------

void GuiObject::SlotHide(Signal::Base&) {
    SetVisible(false);
    Redraw();
}

void GuiObject::SlotShow(Signal::Base&) {
    SetVisible(true);
    Redraw();
}

}  // namespace Pym
