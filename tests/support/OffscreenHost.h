#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/HostWindow.h"

namespace Testing {

class OffscreenHost;

// A window that exists only in memory: it keeps what was presented to it and the shape it
// was cut to, and takes the events a test injects.
class OffscreenWindow : public Platform::HostWindow {
public:
    OffscreenWindow(OffscreenHost& host, Platform::WindowKind kind, Platform::HostWindow* owner,
                    const Platform::HostRect& rect, bool shaped);
    ~OffscreenWindow() override;

    void SetListener(Platform::HostListener* listener) override { listener_ = listener; }
    void Show() override;
    void Hide() override { visible_ = false; }
    bool IsVisible() const override { return visible_; }
    void MoveTo(int x, int y) override;
    void SizeTo(int width, int height) override;
    Platform::HostRect Geometry() const override { return rect_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    void SetIcon(const std::uint32_t*, int width, int height, int) override {
        iconWidth_ = width;
        iconHeight_ = height;
    }
    int IconWidth() const { return iconWidth_; }
    int IconHeight() const { return iconHeight_; }
    void SetCursor(Platform::CursorType cursor) override { cursor_ = cursor; }
    void Maximize() override;
    // Minimised, a window is unmapped, as under X.
    void Minimize() override {
        minimized_ = true;
        visible_ = false;
    }
    void Restore() override;
    bool IsMaximized() const override { return maximized_; }
    bool IsMinimized() const override { return minimized_; }
    bool HasFocus() const override { return focused_; }
    void Focus() override { focused_ = true; }
    void SetInputEnabled(bool enabled) override { inputEnabled_ = enabled; }
    Platform::HostRect MonitorBounds() const override { return monitor_; }
    void Present(const std::uint32_t* pixels, int width, int height, int stride,
                 const Platform::HostRect& dirty) override;
    void SetShape(const std::uint32_t* pixels, int width, int height, int stride,
                  int cutoff) override;

    // Hands an event to the window's listener now, as the event loop would; input events are
    // dropped while input is switched off.
    void Inject(const Platform::HostEvent& event);
    void Inject(Platform::HostEvent::Type type, int x = 0, int y = 0);

    // What the screen shows at a point of the window (premultiplied ARGB), 0 where nothing
    // was presented.
    std::uint32_t PixelAt(int x, int y) const;
    // Whether the shape keeps the point; true while the window has no shape.
    bool InsideShape(int x, int y) const;
    const std::vector<Platform::HostRect>& Presented() const { return presented_; }
    void ClearPresented() { presented_.clear(); }
    int ShapeCount() const { return shapeCount_; }
    Platform::CursorType Cursor() const { return cursor_; }
    bool InputEnabled() const { return inputEnabled_; }
    const std::string& Title() const { return title_; }
    Platform::WindowKind Kind() const { return kind_; }
    Platform::HostWindow* Owner() const { return owner_; }
    void SetMonitor(const Platform::HostRect& monitor) { monitor_ = monitor; }
    void SetFocused(bool focused) { focused_ = focused; }

private:
    OffscreenHost& host_;
    Platform::WindowKind kind_;
    Platform::HostWindow* owner_;
    Platform::HostRect rect_;
    Platform::HostRect restoreRect_;
    Platform::HostRect monitor_{0, 0, 1920, 1080};
    bool shaped_;
    Platform::HostListener* listener_ = nullptr;
    bool visible_ = false;
    bool maximized_ = false;
    bool minimized_ = false;
    bool focused_ = false;
    bool inputEnabled_ = true;
    std::string title_;
    Platform::CursorType cursor_ = Platform::CursorType::Arrow;
    int frameWidth_ = 0, frameHeight_ = 0;
    std::vector<std::uint32_t> frame_;
    std::vector<Platform::HostRect> presented_;
    bool hasShape_ = false;
    std::vector<Platform::HostRect> shape_;
    int shapeCount_ = 0;
    int iconWidth_ = 0, iconHeight_ = 0;
};

// The host for tests: windows in memory, an event loop that runs what is queued (events the
// windows raise themselves, such as a resize, and posted work) and stops when nothing is
// left, and a clipboard in a string.
class OffscreenHost : public Platform::HostSystem {
public:
    // Installs itself as the program's host for its lifetime.
    OffscreenHost();
    ~OffscreenHost() override;

    std::unique_ptr<Platform::HostWindow> CreateWindow(Platform::WindowKind kind,
                                                       Platform::HostWindow* owner,
                                                       const Platform::HostRect& rect,
                                                       const std::string& title,
                                                       bool shaped) override;
    void RunLoop(const std::function<bool()>& running) override;
    void Post(std::function<void()> work) override;
    bool GetClipboardText(std::string& text) override;
    bool SetClipboardText(const std::string& text) override;
    bool ShiftDown() const override { return shiftDown; }

    // Runs everything queued until nothing is left.
    void Pump();
    // Queues an event for a window, delivered by the loop.
    void Queue(OffscreenWindow& window, const Platform::HostEvent& event);
    void Forget(OffscreenWindow* window);

    const std::vector<OffscreenWindow*>& Windows() const { return windows_; }
    OffscreenWindow* Last() const { return windows_.empty() ? nullptr : windows_.back(); }
    bool failCreation = false;
    bool shiftDown = false;  // the keyboard's Shift, as a test holds it
    int loopsRun = 0;

private:
    bool RunOne();

    Platform::HostSystem* previous_;
    std::vector<OffscreenWindow*> windows_;
    std::mutex lock_;
    std::deque<std::function<void()>> queue_;
    bool hasClipboard_ = false;
    std::string clipboard_;
};

}  // namespace Testing
