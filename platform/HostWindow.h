#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

// Key codes as the framework expects them: characters arrive as their code point (control
// characters as their ASCII codes: Backspace 8, Tab 9, Enter 13, Escape 27, Ctrl+letter 1-26),
// and the special keys below also arrive as key-down codes with this bit set.
constexpr std::uint32_t kKeyDownBit = 0x80000000u;
enum SpecialKey : std::uint32_t {
    KeyBackspace = 8,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyDelete = 46,
};

struct HostRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const HostRect&) const = default;
};

// The pixels a window presents from, lent to be drawn into (32-bit ARGB, premultiplied alpha;
// the screen shows the colour and ignores the alpha). Null pixels when none are lent.
struct HostCanvas {
    std::uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;  // stride in bytes
};

// What a native window reports, in the window's own coordinates.
struct HostEvent {
    enum class Type {
        MouseMove,
        LeftDown,
        LeftUp,
        LeftDoubleClick,
        RightDown,
        RightUp,
        RightDoubleClick,
        Wheel,      // delta: 120 per notch, positive away from the user
        Character,  // code: see the key codes above
        KeyDown,    // code | kKeyDownBit, special keys only
        Timer,      // every 10 ms while the window is visible and ticks are wanted; elapsed ms
                    // in `code`
        Sized,      // width, height
        Moved,      // x, y on the screen
        FocusGained,
        FocusLost,
        DropFile,  // x, y, text = path
        Expose,    // the window needs repainting
        CloseRequest,
    };
    Type type = Type::MouseMove;
    int x = 0, y = 0;
    int width = 0, height = 0;
    int delta = 0;
    std::uint32_t code = 0;
    std::string text;
};

enum class WindowKind { Application, Child, Popup };
enum class CursorType { Arrow = 0, SizeDiagonal = 1, SizeVertical = 2 };

class HostWindow;

// Receives a window's events on the thread that runs the event loop.
class HostListener {
public:
    virtual ~HostListener() = default;
    virtual void OnHostEvent(HostWindow& window, const HostEvent& event) = 0;
};

// One native window showing a 32-bit ARGB picture (premultiplied alpha).
class HostWindow {
public:
    virtual ~HostWindow() = default;

    virtual void SetListener(HostListener* listener) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void SizeTo(int width, int height) = 0;
    virtual HostRect Geometry() const = 0;  // on the screen
    virtual void SetTitle(const std::string& title) = 0;
    // The picture the desktop shows for the window (taskbar, switcher).
    virtual void SetIcon(const std::uint32_t* pixels, int width, int height, int stride) = 0;
    virtual void SetCursor(CursorType cursor) = 0;
    virtual void Maximize() = 0;
    virtual void Minimize() = 0;
    virtual void Restore() = 0;
    virtual bool IsMaximized() const = 0;
    virtual bool IsMinimized() const = 0;
    virtual bool HasFocus() const = 0;
    virtual void Focus() = 0;
    // Input to the window is switched off while another window runs modally over it.
    virtual void SetInputEnabled(bool enabled) = 0;
    // The bounds of the monitor the window is on, or nearest to.
    virtual HostRect MonitorBounds() const = 0;

    // The window's own pixels at its present size, for the caller to draw into and present
    // without a copy of its own; they are replaced (their content lost) when the window's size
    // changes, so ask again before each drawing. None by default: the caller keeps a picture.
    virtual HostCanvas Canvas() { return {}; }

    // Copies the rectangle of the picture to the screen; a picture that is the window's
    // canvas is shown as it is.
    virtual void Present(const std::uint32_t* pixels, int width, int height, int stride,
                         const HostRect& dirty) = 0;
    // Copies several rectangles of the picture to the screen in one go.
    virtual void PresentAreas(const std::uint32_t* pixels, int width, int height, int stride,
                              const std::vector<HostRect>& areas) {
        for (const HostRect& area : areas) Present(pixels, width, height, stride, area);
    }
    // Cuts the window to the picture's pixels whose alpha is at least `cutoff`.
    virtual void SetShape(const std::uint32_t* pixels, int width, int height, int stride,
                          int cutoff) = 0;
};

// The native side: windows, the event loop, the clipboard.
class HostSystem {
public:
    virtual ~HostSystem() = default;

    virtual std::unique_ptr<HostWindow> CreateWindow(WindowKind kind, HostWindow* owner,
                                                     const HostRect& rect, const std::string& title,
                                                     bool shaped) = 0;
    // Dispatches events to the windows' listeners until `running` turns false; `running` is
    // asked after every event and tick.
    virtual void RunLoop(const std::function<bool()>& running) = 0;
    // Dispatches events for about that long.
    virtual void RunFor(int milliseconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        RunLoop([end] { return std::chrono::steady_clock::now() < end; });
    }
    // Asked by the event loop before it waits: in how many ms the next Timer event is wanted
    // (they stay 10 ms apart at least), -1 for none: the loop then sleeps until something else
    // happens. Without one, windows tick every 10 ms.
    virtual void SetTickDemand(std::function<int()> wantedInMs) { (void)wantedInMs; }

    // A file descriptor to watch, with the poll(2) events of interest.
    struct Descriptor {
        int fd = -1;
        short events = 0;
    };
    // Runs `ready` on the event loop's thread when one of the descriptors has an event of
    // interest (and again while it keeps having one, at most every 10 ms). Gives an id for
    // Unwatch; 0 when the host cannot watch, and the caller must look for itself.
    virtual int Watch(const std::vector<Descriptor>& descriptors, std::function<void()> ready) {
        (void)descriptors;
        (void)ready;
        return 0;
    }
    // Stops a watch; `ready` is not run after this returns.
    virtual void Unwatch(int id) { (void)id; }
    // Runs `work` on the event loop's thread; callable from any thread.
    virtual void Post(std::function<void()> work) = 0;

    virtual bool GetClipboardText(std::string& text) = 0;
    virtual bool SetClipboardText(const std::string& text) = 0;

    // Whether a Shift key is held, as of the input event being handled. A host without a
    // keyboard has none held.
    virtual bool ShiftDown() const { return false; }
    // Why the last window could not be made; empty when nothing failed.
    virtual std::string LastError() const { return {}; }
};

// The program's host: SDL. Tests install their own.
HostSystem& Host();
HostSystem* SetHost(HostSystem* host);

}  // namespace Platform
