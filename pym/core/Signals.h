#pragma once

#include <set>
#include <string>

#include "pym/core/Signal.h"

// The framework's signal classes. Classes that skins know under another class's name
// ("Pym::Window::CloseSignal") live here under a plain name, so the owning class can take them
// in with a `using` declaration.
namespace Pym::Signal {

// Sets a positional signal's point in its constructor.
template <class Self, int kMode>
class PointKind : public Kind<Self, Positional, kMode> {
protected:
    PointKind(int px, int py) {
        this->x = px;
        this->y = py;
    }
};

struct Activate final : Kind<Activate, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::Activate";
};

// Claimed by the first object that shows its tooltip for the hover.
struct ShowToolTip final : PointKind<ShowToolTip, Directed> {
    static constexpr const char* kName = "Pym::Signal::ShowToolTip";
    ShowToolTip(int px = 0, int py = 0) : PointKind(px, py) {}
    GuiObject* claimedBy = nullptr;
};

struct KeyPress final : Kind<KeyPress, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::KeyPress";
    explicit KeyPress(int key = 0) : key(key) {}
    int key;
};

struct ConnectXMLSlots final : Kind<ConnectXMLSlots, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::ConnectXMLSlots";
};

struct ObjectReady final : Kind<ObjectReady, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::ObjectReady";
};

struct GuiBuilderPosition final : Kind<GuiBuilderPosition, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::GuiBuilderPosition";
    GuiBuilderPosition(int a = 0, int b = 0, int c = 0, int d = 0) : values{a, b, c, d} {}
    int values[4];
};

struct ObjectSelected final : Kind<ObjectSelected, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::ObjectSelected";
};

struct ObjectDeselected final : Kind<ObjectDeselected, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::ObjectDeselected";
};

struct MouseClick final : PointKind<MouseClick, Directed> {
    static constexpr const char* kName = "Pym::Signal::MouseClick";
    MouseClick(int px = 0, int py = 0) : PointKind(px, py) {}
};

struct ObjectVisibilityChange final : Kind<ObjectVisibilityChange, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::ObjectVisibilityChange";
    ObjectVisibilityChange(int visible = 0, GuiObject* object = nullptr)
        : visible(visible), object(object) {}
    int visible;
    GuiObject* object;
};

// Raised twice by GuiObject::Select: first to select what the point hits, then to deselect
// the rest.
struct SelectObject final : PointKind<SelectObject, Directed> {
    static constexpr const char* kName = "Pym::Signal::SelectObject";
    SelectObject(int px = 0, int py = 0, GuiObject* target = nullptr)
        : PointKind(px, py), target(target) {}
    GuiObject* target;
    std::set<GuiObject*> selected;  // objects that became selected in the select pass
    int selectPass = 1;
};

// Direction: 0 left, 1 right, 2 up, 3 down. The first container that moves the selection
// marks the signal handled, so its ancestors leave it alone.
struct SelectNextObject final : Kind<SelectNextObject, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::SelectNextObject";
    explicit SelectNextObject(int direction = 0) : direction(direction) {}
    int direction;
    bool handled = false;
};

struct MouseMove final : PointKind<MouseMove, Directed> {
    static constexpr const char* kName = "Pym::Signal::MouseMove";
    MouseMove(int px = 0, int py = 0) : PointKind(px, py) {}
};
struct LeftButtonDown final : PointKind<LeftButtonDown, Directed> {
    static constexpr const char* kName = "Pym::Signal::LeftButtonDown";
    LeftButtonDown(int px = 0, int py = 0) : PointKind(px, py) {}
};
struct LeftButtonUp final : PointKind<LeftButtonUp, Directed> {
    static constexpr const char* kName = "Pym::Signal::LeftButtonUp";
    LeftButtonUp(int px = 0, int py = 0) : PointKind(px, py) {}
};
struct LeftButtonDblClk final : PointKind<LeftButtonDblClk, Directed> {
    static constexpr const char* kName = "Pym::Signal::LeftButtonDblClk";
    LeftButtonDblClk(int px = 0, int py = 0) : PointKind(px, py) {}
};
struct RightButtonDown final : PointKind<RightButtonDown, Directed> {
    static constexpr const char* kName = "Pym::Signal::RightButtonDown";
    RightButtonDown(int px = 0, int py = 0) : PointKind(px, py) {}
};
struct RightButtonUp final : PointKind<RightButtonUp, Directed> {
    static constexpr const char* kName = "Pym::Signal::RightButtonUp";
    RightButtonUp(int px = 0, int py = 0) : PointKind(px, py) {}
};
struct RightButtonDblClk final : PointKind<RightButtonDblClk, Directed> {
    static constexpr const char* kName = "Pym::Signal::RightButtonDblClk";
    RightButtonDblClk(int px = 0, int py = 0) : PointKind(px, py) {}
};

struct MouseWheel final : PointKind<MouseWheel, Directed> {
    static constexpr const char* kName = "Pym::Signal::MouseWheel";
    MouseWheel(int px = 0, int py = 0, int delta = 0) : PointKind(px, py), delta(delta) {}
    int delta;
};

struct GuiBuilderActivate final : Kind<GuiBuilderActivate, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::GuiBuilderActivate";
};

struct GuiBuilderSelect final : PointKind<GuiBuilderSelect, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::GuiBuilderSelect";
    GuiBuilderSelect(int px = 0, int py = 0) : PointKind(px, py) {}
};

struct WindowSized final : Kind<WindowSized, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::WindowSized";
    WindowSized(int width = 0, int height = 0) : width(width), height(height) {}
    int width;
    int height;
};

struct FocusChange final : Kind<FocusChange, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::FocusChange";
    explicit FocusChange(int value = 0) : value(value) {}
    int value;
};

struct WindowActivated final : Kind<WindowActivated, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::WindowActivated";
    explicit WindowActivated(int activated = 0) : activated(activated) {}
    int activated;
};

struct ScreenActivation final : Kind<ScreenActivation, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::ScreenActivation";
    explicit ScreenActivation(int active = 0) : active(active) {}
    int active;
};

// `elapsedMs`: milliseconds since the window's screen manager started.
struct Timer final : Kind<Timer, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::Timer";
    Timer(int timerId = 0, int elapsedMs = 0) : timerId(timerId), elapsedMs(elapsedMs) {}
    int timerId;
    int elapsedMs;
};

struct DropFile final : PointKind<DropFile, Directed> {
    static constexpr const char* kName = "Pym::Signal::DropFile";
    DropFile(int px = 0, int py = 0, std::string file = {})
        : PointKind(px, py), file(std::move(file)) {}
    std::string file;
};

struct HostWindowMoved final : Kind<HostWindowMoved, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::HostWindowMoved";
    HostWindowMoved(int x = 0, int y = 0) : x(x), y(y) {}
    int x;
    int y;
};

struct Hide final : Kind<Hide, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::Hide";
};
struct Show final : Kind<Show, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Signal::Show";
};

struct String final : Kind<String, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::String";
    explicit String(std::string text = {}) : text(std::move(text)) {}
    std::string text;
};
struct EditBoxSignal final : Kind<EditBoxSignal, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::EditBoxSignal";
    explicit EditBoxSignal(std::string text = {}) : text(std::move(text)) {}
    std::string text;
};

struct ObjectSliderSignal final : Kind<ObjectSliderSignal, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::ObjectSliderSignal";
    explicit ObjectSliderSignal(int value = 0) : value(value) {}
    int value;
};

struct ScrollObjectSignal final : Kind<ScrollObjectSignal, Base, Directed> {
    static constexpr const char* kName = "Pym::Signal::ScrollObjectSignal";
    ScrollObjectSignal(int a = 0, int b = 0, int c = 0, int d = 0) : values{a, b, c, d} {}
    int values[4];
};

// Pym::Window::CloseSignal
struct WindowClose final : Kind<WindowClose, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Window::CloseSignal";
    explicit WindowClose(int value = 0, GuiObject* window = nullptr)
        : value(value), window(window) {}
    int value;
    GuiObject* window;
};

// Pym::Window::VisibleSignal
struct WindowVisible final : Kind<WindowVisible, Base, Broadcast> {
    static constexpr const char* kName = "Pym::Window::VisibleSignal";
    explicit WindowVisible(GuiObject* window = nullptr) : window(window) {}
    GuiObject* window;
};

// Pym::TextValidate::Validate: asks the validators connected to an edit box whether `text`
// may be inserted into `previous`, the box's current text. Any validator may refuse.
struct TextValidate final : Kind<TextValidate, Base, Directed> {
    static constexpr const char* kName = "Pym::TextValidate::Validate";
    TextValidate(std::string text = {}, std::string previous = {})
        : text(std::move(text)), previous(std::move(previous)) {}
    bool accepted = true;
    std::string text;
    std::string previous;
};

// Pym::AnimatedImage::SignalAnimateForwards / SignalAnimateBackwards
struct AnimateForwards final : Kind<AnimateForwards, Base, Directed> {
    static constexpr const char* kName = "Pym::AnimatedImage::SignalAnimateForwards";
};
struct AnimateBackwards final : Kind<AnimateBackwards, Base, Directed> {
    static constexpr const char* kName = "Pym::AnimatedImage::SignalAnimateBackwards";
};

// The menu buttons' SignalStartAnimation, one class per button class.
struct ComboMenuButtonStartAnimation final : Kind<ComboMenuButtonStartAnimation, Base, Directed> {
    static constexpr const char* kName = "ComboMenuButton::SignalStartAnimation";
};
struct FocusMenuButtonStartAnimation final : Kind<FocusMenuButtonStartAnimation, Base, Directed> {
    static constexpr const char* kName = "FocusMenuButton::SignalStartAnimation";
};
struct MenuButtonStartAnimation final : Kind<MenuButtonStartAnimation, Base, Directed> {
    static constexpr const char* kName = "MenuButton::SignalStartAnimation";
};

}  // namespace Pym::Signal
