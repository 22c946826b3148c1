#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/HostWindow.h"
#include "pym/gfx/CairoDrawContext.h"
#include "pym/gfx/Image.h"
#include "pym/gui/ScreenManager.h"

namespace Pym {

class Window;

// The native window of a Pym::Window: turns the host's events into signals through its
// screen manager, and paints the dirty part of the shown tree into the window's own pixels, or
// into a back buffer that it copies to the screen when the host lends none.
class PymWnd : public Platform::HostListener {
public:
    // Null when the host cannot make the window.
    static std::unique_ptr<PymWnd> Create(Window& window, Platform::WindowKind kind,
                                          Platform::HostWindow* owner,
                                          const Platform::HostRect& rect, const std::string& title,
                                          bool shaped);
    ~PymWnd() override;
    PymWnd(const PymWnd&) = delete;
    PymWnd& operator=(const PymWnd&) = delete;

    ScreenManager& Screens() { return screens_; }
    Platform::HostWindow& Native() { return *native_; }

    // Renders what is waiting: the invalid region, or everything after a full-redraw request.
    void Render();
    // Renders everything and cuts the window to the rendering's alpha.
    void UpdateShape();

    void OnHostEvent(Platform::HostWindow& window, const Platform::HostEvent& event) override;

    // The picture last rendered (premultiplied ARGB), for shaping and for tests.
    const Gfx::Image* BackBuffer() const { return backBuffer_.get(); }

private:
    PymWnd(Window& window, std::unique_ptr<Platform::HostWindow> native);
    void Translate(const Platform::HostEvent& event);
    void MatchWindowSize();
    void UseBuffer(std::shared_ptr<Gfx::Image> buffer, std::uint32_t* lent);
    bool RepaintAlone(const Gfx::Region& region);
    // Whether a point of a shaped window lies on a part its shape cuts away.
    bool OutsideShape(int x, int y) const;

    Window& window_;
    std::unique_ptr<Platform::HostWindow> native_;
    ScreenManager screens_;
    std::shared_ptr<Gfx::Image> backBuffer_;
    std::uint32_t* lent_ = nullptr;  // the host's pixels that backBuffer_ lies over, if any
    std::unique_ptr<Gfx::CairoDrawContext> context_;
    int lastMouseX_ = -1, lastMouseY_ = -1;
};

// Where a popup goes: the rectangle shifted back inside the monitor past whose right or
// bottom edge it reaches, then clamped to the monitor's left and top edges.
Platform::HostRect PullInsideMonitor(Platform::HostRect rect, const Platform::HostRect& monitor);

}  // namespace Pym
