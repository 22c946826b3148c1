#pragma once

#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "platform/HostWindow.h"
#include "platform/X11AreaPresenter.h"

namespace Platform {

class SdlHostSystem;

// A native window through SDL: borderless (the skin draws everything), software-presented,
// optionally shaped by the picture's alpha.
class SdlHostWindow : public HostWindow {
public:
    SdlHostWindow(SdlHostSystem& system, SDL_Window* window, bool shaped);
    ~SdlHostWindow() override;

    void SetListener(HostListener* listener) override { listener_ = listener; }
    void Show() override;
    void Hide() override;
    bool IsVisible() const override;
    void MoveTo(int x, int y) override;
    void SizeTo(int width, int height) override;
    HostRect Geometry() const override;
    void SetTitle(const std::string& title) override;
    void SetIcon(const std::uint32_t* pixels, int width, int height, int stride) override;
    void SetCursor(CursorType cursor) override;
    void Maximize() override;
    void Minimize() override;
    void Restore() override;
    bool IsMaximized() const override;
    bool IsMinimized() const override;
    bool HasFocus() const override;
    void Focus() override;
    void SetInputEnabled(bool enabled) override { inputEnabled_ = enabled; }
    HostRect MonitorBounds() const override;
    HostCanvas Canvas() override;
    void Present(const std::uint32_t* pixels, int width, int height, int stride,
                 const HostRect& dirty) override;
    void PresentAreas(const std::uint32_t* pixels, int width, int height, int stride,
                      const std::vector<HostRect>& areas) override;
    void SetShape(const std::uint32_t* pixels, int width, int height, int stride,
                  int cutoff) override;

    // Event loop side.
    void Dispatch(const SDL_Event& event);
    void Deliver(const HostEvent& event);
    bool InputEnabled() const { return inputEnabled_; }
    Uint32 Id() const { return SDL_GetWindowID(window_); }

private:
    void DeliverMouse(HostEvent::Type type, int x, int y);
    void DeliverKey(const SDL_KeyboardEvent& key);
    void DeliverText(const char* utf8);
    void KeepPlacement();

    SdlHostSystem& system_;
    SDL_Window* window_;
    bool shaped_;
    bool hasShape_ = false;
    std::vector<HostRect> shape_;
    bool hasPlacement_ = false;
    HostRect placement_;
    HostListener* listener_ = nullptr;
    bool inputEnabled_ = true;
    int lastMouseX_ = -1, lastMouseY_ = -1;
    X11AreaPresenter presenter_;
};

}  // namespace Platform
