#include "pym/gui/GuiObject.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "pym/base/Singleton.h"
#include "pym/core/CoreSingletons.h"
#include "pym/core/Document.h"
#include "pym/gfx/DrawContext.h"
#include "pym/gui/RegisterType.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/SignalRoute.h"
#include "pym/gui/TickSubscribers.h"
#include "pym/gui/XmlConnections.h"

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
    TickSubscribers::Remove(this);
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

void GuiObject::ConnectSlot(int signalId, GuiObject* senderKey, SlotCall call) {
    connections_.Connect(signalId, senderKey, std::move(call));
    if (signalId == Signal::Timer::Id()) SubscribeTicks();
}

bool GuiObject::NeedsTicks() const {
    return connections_.Has(Signal::Timer::Id());
}

void GuiObject::SubscribeTicks() {
    TickSubscribers::Add(this);
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

void GuiObject::ConnectAndAnnounceReady(GuiObject* sender) {
    Signal::ConnectXMLSlots connect;
    connect.sender = sender;
    DeliverSignal(connect, true);
    Signal::ObjectReady ready;
    ready.sender = sender;
    DeliverSignal(ready, true);
}

bool GuiObject::AnswersTo(const std::string& name) const {
    return GetName() == name || MatchesName(element_, name);
}

void GuiObject::OnConnectXmlSlots(Signal::ConnectXMLSlots&) {
    XmlConnections::ConnectAll(this);
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
        child->ConnectAndAnnounceReady(this);
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
    RedrawPart(0, 0, width_, height_);
}

void GuiObject::RedrawPart(int x, int y, int width, int height) {
    // Without a screen manager there is nothing to repaint yet.
    if (ScreenManager* manager = FindScreenManager()) {
        manager->Invalidate(GetAbsoluteX() + x, GetAbsoluteY() + y, width, height);
        if (backdrop_) backdrop_->Ask();
    }
}

void GuiObject::KeepBackdrop() {
    if (!backdrop_) backdrop_ = std::make_unique<Backdrop>(*this);
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

// --- drawing ------------------------------------------------------------------------------

void GuiObject::Draw(Gfx::DrawContext& context) {
    if (!visible_ || alpha_ <= 0.0f) return;
    std::optional<Gfx::AlphaScope> alpha;
    if (alpha_ < 1.0f) alpha.emplace(context, alpha_);
    // A repaint of a small region skips everything it does not touch (a text would still lay
    // itself out to draw nothing).
    const Gfx::Rect rect{static_cast<float>(x_), static_cast<float>(y_), static_cast<float>(width_),
                         static_cast<float>(height_)};
    const bool shows = isWindow_ || !context.OutsideClip(rect);
    const bool treePaint = Backdrop::InTreePaint();
    if (treePaint) {
        Backdrop::Drawing(context, rect);
        if (backdrop_) backdrop_->Reached(context, rect, shows);
    }
    if (!drawSelfAfterChildren_ && shows) DrawSelf(context);
    const float dx = isWindow_ ? 0.0f : static_cast<float>(x_);
    const float dy = isWindow_ ? 0.0f : static_cast<float>(y_);
    context.Translate(dx, dy);
    for (GuiObject* child : children_) child->Draw(context);
    context.Translate(-dx, -dy);
    if (drawSelfAfterChildren_ && shows) DrawSelf(context);
    if (treePaint && backdrop_) backdrop_->Drawn();
}

bool GuiObject::DrawOverBackdrop(Gfx::DrawContext& context) {
    if (!backdrop_ || !backdrop_->Paint(context)) return false;
    // Draw places the object at its parent's origin.
    const float dx = isWindow_ ? 0.0f : static_cast<float>(GetAbsoluteX() - x_);
    const float dy = isWindow_ ? 0.0f : static_cast<float>(GetAbsoluteY() - y_);
    context.Translate(dx, dy);
    Draw(context);
    context.Translate(-dx, -dy);
    return true;
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
