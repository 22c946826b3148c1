#pragma once

#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>
#include <boost/noncopyable.hpp>

#include "pym/base/Trace.h"
#include "pym/core/ConnectionStore.h"
#include "pym/core/ObjectFactory.h"
#include "pym/core/Signals.h"
#include "pym/core/XMLLoadSave.h"
#include "pym/gui/Backdrop.h"
#include "pym/gui/ObjectLookup.h"

namespace Pym {

class ScreenManager;
class ToolTipWindow;
namespace Gfx {
class DrawContext;
}

// A tab stop: a child reachable by keyboard navigation at a cell of the container's grid.
struct TabStop {
    int column;
    int row;
    GuiObject* child;
};

// Base of everything a skin can place: a rectangle in its parent's coordinates, children
// drawn in order, visibility, selection, hover, tooltip, alpha, and the slots connected on
// it. Objects made from XML are owned by the object that created them; `children` only
// lists what is shown and routed.
class GuiObject : public XMLLoadSave, private boost::noncopyable {
public:
    explicit GuiObject(int notSelectable = 0, int sizeLocked = 0);
    ~GuiObject() override;

    // Builds the object from its element: keeps the element, reads the attributes (base
    // class first) and then creates what the element lists. False when loading failed.
    bool Build(TiXmlElement* element);

    // --- signals ----------------------------------------------------------------------------

    virtual bool WantsSignalForChildren(const Signal::Base& signal);
    virtual bool WantsSignal(const Signal::Base& signal);
    // The object's own reaction to a signal, before the connected slots run.
    virtual void HandleSignal(Signal::Base& signal);

    void SendSignal(GuiObject* sender, Signal::Base& signal);
    void SendSignal(Signal::Base& signal) { SendSignal(this, signal); }
    // Delivers to this object alone; slots run on behalf of `onBehalf` (this when null).
    void SendSignalToSelf(Signal::Base& signal, GuiObject* onBehalf = nullptr);
    // Routes the signal from this object: through its subtree, children first, or with
    // `recurse` clear to this object alone; in both cases only where it is accepted.
    void DeliverSignal(Signal::Base& signal, bool recurse);
    // Wires the "Connect" elements of this subtree, then tells it that it stands: what every
    // freshly built tree (a window, a screen, a child window) needs before it is used.
    void ConnectAndAnnounceReady(GuiObject* sender);
    // A slot on the Timer signal makes the object a tick subscriber.
    void ConnectSlot(int signalId, GuiObject* senderKey, SlotCall call);
    ConnectionStore& Connections() { return connections_; }
    // While set, the object accepts every signal (SendSignalToSelf).
    bool ForcedAcceptance() const { return forcedAcceptance_; }
    void SetForcedAcceptance(bool forced) { forcedAcceptance_ = forced; }

    // True when the name is this object's own or an alias its element lists.
    bool AnswersTo(const std::string& name) const;

    // Finds a named object from this one outward (paths "A->B" allowed) as class T; a miss is
    // traced and gives null.
    template <class T>
    T* GetXMLObject(const std::string& name) {
        T* found = dynamic_cast<T*>(FindObject(this, name));
        if (!found) Trace("Warning: GetXMLObject: Failed to find object named " + name);
        return found;
    }

    // --- tree -------------------------------------------------------------------------------

    virtual void AddAbsoluteX(int& value) const;
    virtual void AddAbsoluteY(int& value) const;
    virtual int GetId() const { return id_; }
    virtual void AddChild(GuiObject* child, bool relayout);
    virtual void ReadTabCoordinates(GuiObject* child, const TiXmlElement* element);
    virtual void AddTabStop(GuiObject* child, int column, int row);
    virtual void RemoveAllChildren() { children_.clear(); }
    virtual bool RemoveChild(GuiObject* child, bool relayout);
    // Takes ownership of an object (usually one of its children).
    void Adopt(std::unique_ptr<GuiObject> object) { owned_.push_back(std::move(object)); }

    GuiObject* GetParent() const { return parent_; }
    const std::vector<GuiObject*>& Children() const { return children_; }
    TiXmlElement* GetElement() const { return element_; }
    const std::vector<TabStop>& TabStops() const { return tabStops_; }
    bool IsAncestorOf(const GuiObject* other) const {
        for (const GuiObject* up = other ? other->parent_ : nullptr; up; up = up->parent_)
            if (up == this) return true;
        return false;
    }
    // The object a signal raised here starts its route from: the nearest window, or the root.
    GuiObject* RouteRoot() {
        GuiObject* root = this;
        while (!root->isWindow_ && root->parent_) root = root->parent_;
        return root;
    }
    // The screen manager of this object's window, or null.
    ScreenManager* FindScreenManager() { return RouteRoot()->screenManager_; }
    void SetScreenManager(ScreenManager* manager) { screenManager_ = manager; }

    // --- geometry ---------------------------------------------------------------------------

    virtual int GetX() const { return x_; }
    virtual int GetY() const { return y_; }
    virtual void SetX(int x) { x_ = x; }
    virtual void SetY(int y) { y_ = y; }
    virtual int GetWidth() const { return width_; }
    virtual int GetHeight() const { return height_; }
    virtual void SetWidth(int width) { width_ = width; }
    virtual void SetHeight(int height) { height_ = height; }
    struct Rect {
        int x, y, width, height;
        bool operator==(const Rect&) const = default;
    };
    virtual Rect GetRect() const { return {x_, y_, width_, height_}; }
    virtual int GetRight() const { return (isWindow_ ? 0 : x_) + width_ - 1; }
    virtual int GetBottom() const { return (isWindow_ ? 0 : y_) + height_ - 1; }
    virtual int GetAbsoluteX() const;
    virtual int GetAbsoluteY() const;
    virtual Rect GetBounds() const { return GetRect(); }
    virtual int GetContentWidth() const;
    virtual int GetContentHeight() const;
    virtual int GetMaxChildWidth() const;
    virtual int GetMaxChildHeight() const;
    virtual void OnLayoutReady();
    virtual void Move(int x, int y);
    virtual bool Resize(int width, int height);
    virtual void SetSizeUnchecked(int width, int height);
    // Whether a point in host-window coordinates lies on the object.
    virtual bool HitTest(int absX, int absY);
    // The same test for a point in the object's own coordinates.
    virtual bool HitTestLocal(int x, int y) const;
    virtual void Relayout();
    virtual void Redraw();
    // Repaints the part (x, y, width, height) of the object, in its own coordinates: for an
    // object that knows where its pixels change.
    void RedrawPart(int x, int y, int width, int height);

    // --- state ------------------------------------------------------------------------------

    virtual bool IsSelected() const { return (visible_ && selected_) || forceSelected_; }
    virtual bool IsMouseOver() const { return mouseOver_; }
    virtual void SetMouseOver(bool over) { mouseOver_ = over; }
    virtual bool IsMouseOverChild() const;
    virtual bool ClickNeedsHover() const;
    virtual void SetForceSelected(bool forced) { forceSelected_ = forced; }
    virtual int GetNotSelectable() const { return notSelectable_; }
    virtual int GetSizeLocked() const { return sizeLocked_; }
    virtual void SetSizeLocked(int locked) { sizeLocked_ = locked; }
    virtual void SetNotSelectable(int notSelectable) { notSelectable_ = notSelectable; }
    virtual void SetVisible(bool visible);
    virtual bool IsVisible() const { return visible_; }
    virtual bool IsVisibleRecursive() const;
    virtual bool Overlaps(const GuiObject& other) const;
    virtual bool IsActive() const { return active_; }
    bool IsWindow() const { return isWindow_; }
    float GetAlpha() const { return alpha_; }
    void SetAlpha(float alpha) { alpha_ = alpha; }
    int MouseX() const { return mouseX_; }
    int MouseY() const { return mouseY_; }
    const std::string& ToolTipText() const { return toolTipText_; }
    void SetKeepSelection(bool keep) { keepSelection_ = keep; }
    void SetDrawSelfAfterChildren(bool after) { drawSelfAfterChildren_ = after; }

    // --- selection and navigation -----------------------------------------------------------

    virtual void OnSelectRequest(Signal::SelectObject& signal, bool select);
    virtual void SetSelected(bool select);
    virtual void Select();
    virtual bool Deselect();
    virtual void ClearSelectionRecursive();
    virtual bool HasSelectedDescendant() const;
    virtual void SelectByNavigation() { Select(); }
    virtual bool AcceptsNavigation(int /*direction*/) const { return true; }

    // --- drawing ----------------------------------------------------------------------------

    virtual bool DrawSelf(Gfx::DrawContext& /*context*/) { return true; }
    virtual void Draw(Gfx::DrawContext& context);
    // From then on the object keeps a copy of what is painted under it, and a Redraw of it
    // alone paints that copy and the object rather than everything beneath: for displays and
    // read-outs refreshed many times a second. Where anything but its children is drawn over
    // it, it is repainted with the tree as any other.
    void KeepBackdrop();
    // The copy of what lies under the object, when it keeps one (KeepBackdrop).
    Backdrop* GetBackdrop() const { return backdrop_.get(); }
    // Draws the object and its children over its backdrop, the context in window coordinates;
    // false, having drawn nothing, where the backdrop cannot be put back.
    bool DrawOverBackdrop(Gfx::DrawContext& context);
    // Shows (or hides) the tooltip; true when it was shown.
    virtual bool ShowToolTip(bool show, int x, int y);

    // --- built-in handlers ------------------------------------------------------------------

    virtual void OnSelectObject(Signal::SelectObject& signal);
    virtual void OnLeftButtonUp(Signal::LeftButtonUp& signal);
    virtual void OnMouseMove(Signal::MouseMove& signal);
    virtual void OnSelectNextObject(Signal::SelectNextObject& signal);
    virtual void OnWindowActivated(Signal::WindowActivated& signal);
    virtual void OnToolTipHover(Signal::ShowToolTip& signal);
    virtual void OnConnectXmlSlots(Signal::ConnectXMLSlots& signal);
    // Hooks for subclasses; the base ignores these signals.
    virtual void OnLeftButtonDown(Signal::LeftButtonDown&) {}
    virtual void OnLeftButtonDblClk(Signal::LeftButtonDblClk&) {}
    virtual void OnRightButtonDown(Signal::RightButtonDown&) {}
    virtual void OnRightButtonUp(Signal::RightButtonUp&) {}
    virtual void OnMouseWheel(Signal::MouseWheel&) {}
    virtual void OnKeyPress(Signal::KeyPress&) {}
    // The window's ticks reach the tick subscribers (SubscribeTicks) and the objects above
    // them, and come only while a subscriber needs them (NeedsTicks).
    virtual void OnTimer(Signal::Timer&) {}
    // Whether the object has something to do at the coming ticks (an animation running, a
    // caret blinking); while no subscriber in a shown tree does, the event loop sleeps. Asked
    // between events, so whatever starts a movement is seen before the loop waits. True for
    // an object with slots on the Timer signal.
    virtual bool NeedsTicks() const;
    // While it needs ticks, how long from now the object can do without one: 0 for the next
    // 10 ms tick, more for an object that only refreshes now and then.
    virtual int TickDelayMs() const { return 0; }
    virtual void OnObjectReady(Signal::ObjectReady&) {}
    virtual void OnWindowSized(Signal::WindowSized&) {}
    virtual void OnFocusChange(Signal::FocusChange&) {}
    virtual void OnDropFile(Signal::DropFile&) {}

    // --- slots ------------------------------------------------------------------------------

    void SlotHide(Signal::Base&);
    void SlotShow(Signal::Base&);

protected:
    // Reads the attributes of this class; overrides read their base class's first.
    virtual bool LoadFromXml(TiXmlElement* element);
    // Runs after loading: creates what the element lists.
    virtual void CreateFromXml(TiXmlElement* /*element*/) {}
    // A child is going away: drop whatever refers to it.
    virtual void ForgetChild(GuiObject* child);
    void SetIsWindow(bool isWindow) { isWindow_ = isWindow; }
    // From then on the object takes the Timer signal (while in a shown tree); an object that
    // overrides OnTimer subscribes when it is made or when it starts to need ticks.
    void SubscribeTicks();

private:
    const TabStop* FindTabStop(int column, int row, const GuiObject* current) const;
    bool NavigateFrom(const TabStop& stop, int direction);
    void DetachFromTree();

    ConnectionStore connections_;
    std::vector<GuiObject*> children_;
    int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    bool selected_ = false;
    bool forceSelected_ = false;
    bool inVisibilityDispatch_ = false;
    bool mouseOver_ = false;
    int mouseX_ = 0, mouseY_ = 0;
    bool active_ = false;
    int sizeLocked_;
    int notSelectable_;
    bool visible_ = true;
    GuiObject* parent_ = nullptr;
    int id_;
    std::vector<TabStop> tabStops_;
    TiXmlElement* element_ = nullptr;
    float alpha_ = 1.0f;
    ScreenManager* screenManager_ = nullptr;
    std::shared_ptr<ToolTipWindow> toolTipObject_;
    std::string toolTipText_;
    bool isWindow_ = false;
    bool keepSelection_ = false;
    bool drawSelfAfterChildren_ = false;
    bool forcedAcceptance_ = false;
    bool tickSubscriber_ = false;
    unsigned tickMark_ = 0;  // on the path of the tick being routed
    std::vector<std::unique_ptr<GuiObject>> owned_;
    std::unique_ptr<Backdrop> backdrop_;

    friend class TickSubscribers;
};

}  // namespace Pym
