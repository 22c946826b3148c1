#include "tests/support/OffscreenHost.h"

#include <algorithm>
#include <cstring>

#include "platform/Pixels.h"

    namespace Testing {

    using Platform::HostEvent;
    using Platform::HostRect;

    OffscreenWindow::OffscreenWindow(OffscreenHost & host, Platform::WindowKind kind,
                                     Platform::HostWindow * owner, const HostRect& rect,
                                     bool shaped)
        : host_(host),
          kind_(kind),
          owner_(owner),
          rect_{rect.x, rect.y, std::max(rect.width, 1), std::max(rect.height, 1)},
          restoreRect_(rect_),
          shaped_(shaped) {}

    OffscreenWindow::~OffscreenWindow() {
        host_.Forget(this);
    }

    void OffscreenWindow::Show() {
        visible_ = true;
        HostEvent expose;
        expose.type = HostEvent::Type::Expose;
        host_.Queue(*this, expose);
    }

    void OffscreenWindow::MoveTo(int x, int y) {
        rect_.x = x;
        rect_.y = y;
    }

    void OffscreenWindow::SizeTo(int width, int height) {
        width = std::max(width, 1);
        height = std::max(height, 1);
        if (width == rect_.width && height == rect_.height) return;
        rect_.width = width;
        rect_.height = height;
        HostEvent sized;
        sized.type = HostEvent::Type::Sized;
        sized.width = width;
        sized.height = height;
        host_.Queue(*this, sized);
    }

    void OffscreenWindow::Maximize() {
        if (!maximized_) restoreRect_ = rect_;
        maximized_ = true;
        minimized_ = false;
        rect_.x = monitor_.x;
        rect_.y = monitor_.y;
        SizeTo(monitor_.width, monitor_.height);
    }

    void OffscreenWindow::Restore() {
        const bool wasMaximized = maximized_, wasMinimized = minimized_;
        maximized_ = minimized_ = false;
        if (wasMinimized) Show();
        if (!wasMaximized) return;
        rect_.x = restoreRect_.x;
        rect_.y = restoreRect_.y;
        SizeTo(restoreRect_.width, restoreRect_.height);
    }

    void OffscreenWindow::Present(const std::uint32_t* pixels, int width, int height, int stride,
                                  const HostRect& dirty) {
        if (width != frameWidth_ || height != frameHeight_) {
            frameWidth_ = width;
            frameHeight_ = height;
            frame_.assign(static_cast<std::size_t>(width) * height, 0u);
        }
        presented_.push_back(dirty);
        const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
        const int left = std::max(dirty.x, 0), top = std::max(dirty.y, 0);
        const int right = std::min(dirty.x + dirty.width, width);
        const int bottom = std::min(dirty.y + dirty.height, height);
        for (int y = top; y < bottom; ++y) {
            const auto* row =
                reinterpret_cast<const std::uint32_t*>(bytes + std::size_t(y) * stride);
            std::copy(row + left, row + right, frame_.begin() + std::size_t(y) * width + left);
        }
    }

    void OffscreenWindow::SetShape(const std::uint32_t* pixels, int width, int height, int stride,
                                   int cutoff) {
        if (!shaped_) return;
        shape_ = Platform::ShapeRuns(pixels, width, height, stride, cutoff);
        hasShape_ = true;
        ++shapeCount_;
    }

    std::uint32_t OffscreenWindow::PixelAt(int x, int y) const {
        if (x < 0 || y < 0 || x >= frameWidth_ || y >= frameHeight_) return 0;
        return frame_[std::size_t(y) * frameWidth_ + x];
    }

    bool OffscreenWindow::InsideShape(int x, int y) const {
        if (!hasShape_) return true;
        return std::any_of(shape_.begin(), shape_.end(), [x, y](const HostRect& r) {
            return y == r.y && x >= r.x && x < r.x + r.width;
        });
    }

    void OffscreenWindow::Inject(const HostEvent& event) {
        const bool input =
            event.type != HostEvent::Type::Timer && event.type != HostEvent::Type::Sized &&
            event.type != HostEvent::Type::Moved && event.type != HostEvent::Type::Expose &&
            event.type != HostEvent::Type::FocusGained &&
            event.type != HostEvent::Type::FocusLost && event.type != HostEvent::Type::CloseRequest;
        if (input && !inputEnabled_) return;
        if (listener_) listener_->OnHostEvent(*this, event);
    }

    void OffscreenWindow::Inject(HostEvent::Type type, int x, int y) {
        HostEvent event;
        event.type = type;
        event.x = x;
        event.y = y;
        Inject(event);
    }

    // --- system -------------------------------------------------------------------------------

    OffscreenHost::OffscreenHost() : previous_(Platform::SetHost(this)) {}

    OffscreenHost::~OffscreenHost() {
        Platform::SetHost(previous_);
    }

    std::unique_ptr<Platform::HostWindow> OffscreenHost::CreateWindow(
        Platform::WindowKind kind, Platform::HostWindow * owner, const HostRect& rect,
        const std::string& title, bool shaped) {
        if (failCreation) return nullptr;
        auto window = std::make_unique<OffscreenWindow>(*this, kind, owner, rect, shaped);
        window->SetTitle(title);
        windows_.push_back(window.get());
        return window;
    }

    void OffscreenHost::Forget(OffscreenWindow * window) {
        std::erase(windows_, window);
    }

    void OffscreenHost::Queue(OffscreenWindow & window, const HostEvent& event) {
        OffscreenWindow* target = &window;
        Post([this, target, event] {
            if (std::find(windows_.begin(), windows_.end(), target) != windows_.end())
                target->Inject(event);
        });
    }

    bool OffscreenHost::RunOne() {
        std::function<void()> work;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (queue_.empty()) return false;
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
        return true;
    }

    void OffscreenHost::Pump() {
        while (RunOne()) {
        }
    }

    void OffscreenHost::RunLoop(const std::function<bool()>& running) {
        ++loopsRun;
        // With nothing queued nothing can change any more: the loop ends instead of hanging.
        while (running() && RunOne()) {
        }
    }

    void OffscreenHost::Post(std::function<void()> work) {
        std::lock_guard<std::mutex> lock(lock_);
        queue_.push_back(std::move(work));
    }

    bool OffscreenHost::GetClipboardText(std::string & text) {
        if (!hasClipboard_) return false;
        text = clipboard_;
        return true;
    }

    bool OffscreenHost::SetClipboardText(const std::string& text) {
        clipboard_ = text;
        hasClipboard_ = true;
        return true;
    }

}  // namespace Testing
