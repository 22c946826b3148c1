#include "platform/SdlHostWindow.h"

#include <algorithm>

#include "platform/Pixels.h"
#include "platform/SdlHost.h"
#include "platform/SdlKeys.h"
#include "platform/WindowShape.h"

namespace Platform {

namespace {

SDL_Cursor* SystemCursor(CursorType type) {
    static SDL_Cursor* arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    static SDL_Cursor* diagonal = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENWSE);
    static SDL_Cursor* vertical = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS);
    switch (type) {
        case CursorType::SizeDiagonal:
            return diagonal;
        case CursorType::SizeVertical:
            return vertical;
        default:
            return arrow;
    }
}

}  // namespace

SdlHostWindow::SdlHostWindow(SdlHostSystem& system, SDL_Window* window, bool shaped)
    : system_(system), window_(window), shaped_(shaped), presenter_(window) {
    system_.Register(this);
}

SdlHostWindow::~SdlHostWindow() {
    system_.Unregister(this);
    SDL_DestroyWindow(window_);
}

void SdlHostWindow::Show() {
    SDL_ShowWindow(window_);
}

void SdlHostWindow::Hide() {
    SDL_HideWindow(window_);
}

bool SdlHostWindow::IsVisible() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0;
}

void SdlHostWindow::MoveTo(int x, int y) {
    placement_ = HostRect{x, y, 0, 0};
    hasPlacement_ = true;
    SDL_SetWindowPosition(window_, x, y);
}

// A hidden window moved before it is first shown is mapped where it was created when no
// window manager places it; put it where it was last asked to be.
void SdlHostWindow::KeepPlacement() {
    if (!hasPlacement_) return;
    hasPlacement_ = false;
    HostRect at = Geometry();
    if (at.x == placement_.x && at.y == placement_.y) return;
    SDL_SetWindowPosition(window_, placement_.x + 1, placement_.y);
    SDL_SetWindowPosition(window_, placement_.x, placement_.y);
}

void SdlHostWindow::SizeTo(int width, int height) {
    SDL_SetWindowSize(window_, std::max(width, 1), std::max(height, 1));
}

HostRect SdlHostWindow::Geometry() const {
    HostRect rect;
    SDL_GetWindowPosition(window_, &rect.x, &rect.y);
    SDL_GetWindowSize(window_, &rect.width, &rect.height);
    return rect;
}

void SdlHostWindow::SetTitle(const std::string& title) {
    SDL_SetWindowTitle(window_, title.c_str());
}

void SdlHostWindow::SetIcon(const std::uint32_t* pixels, int width, int height, int stride) {
    if (!pixels || width < 1 || height < 1) return;
    // SDL wants straight alpha; the picture's is premultiplied.
    std::vector<std::uint32_t> straight = StraightAlpha(pixels, width, height, stride);
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(straight.data(), width, height, 32,
                                                           width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
}

void SdlHostWindow::SetCursor(CursorType cursor) {
    if (SDL_Cursor* c = SystemCursor(cursor)) SDL_SetCursor(c);
}

void SdlHostWindow::Maximize() {
    SDL_MaximizeWindow(window_);
}

void SdlHostWindow::Minimize() {
    SDL_MinimizeWindow(window_);
}

void SdlHostWindow::Restore() {
    SDL_RestoreWindow(window_);
}

bool SdlHostWindow::IsMaximized() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
}

bool SdlHostWindow::IsMinimized() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

bool SdlHostWindow::HasFocus() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlHostWindow::Focus() {
    SDL_RaiseWindow(window_);
    SDL_SetWindowInputFocus(window_);
}

HostRect SdlHostWindow::MonitorBounds() const {
    SDL_Rect bounds{0, 0, 0, 0};
    int display = SDL_GetWindowDisplayIndex(window_);
    if (display < 0 || SDL_GetDisplayBounds(display, &bounds) != 0)
        SDL_GetDisplayBounds(0, &bounds);
    return HostRect{bounds.x, bounds.y, bounds.w, bounds.h};
}

// The window surface is lent when its pixels are laid out as the framework draws them:
// 32 bits, blue in the low byte. The alpha byte of an XRGB surface is ignored on the screen.
HostCanvas SdlHostWindow::Canvas() {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface || SDL_MUSTLOCK(surface) || !surface->pixels) return {};
    const Uint32 format = surface->format->format;
    if (format != SDL_PIXELFORMAT_ARGB8888 && format != SDL_PIXELFORMAT_RGB888) return {};
    return HostCanvas{static_cast<std::uint32_t*>(surface->pixels), surface->w, surface->h,
                      surface->pitch};
}

void SdlHostWindow::Present(const std::uint32_t* pixels, int width, int height, int stride,
                            const HostRect& dirty) {
    PresentAreas(pixels, width, height, stride, {dirty});
}

void SdlHostWindow::PresentAreas(const std::uint32_t* pixels, int width, int height, int stride,
                                 const std::vector<HostRect>& areas) {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target || !pixels) return;
    // A picture drawn into the canvas is on the window surface already.
    SDL_Surface* source = nullptr;
    if (pixels != target->pixels) {
        source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels), width,
                                                    height, 32, stride, SDL_PIXELFORMAT_ARGB8888);
        if (!source) return;
        SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    }
    const SDL_Rect bounds{0, 0, std::min(width, target->w), std::min(height, target->h)};
    std::vector<SDL_Rect> copied;
    for (const HostRect& dirty : areas) {
        const SDL_Rect rect{dirty.x, dirty.y, dirty.width, dirty.height};
        SDL_Rect area;
        if (!SDL_IntersectRect(&rect, &bounds, &area)) continue;
        if (source) {
            SDL_Rect to = area;
            SDL_BlitSurface(source, &area, target, &to);
        }
        copied.push_back(area);
    }
    // Small areas go out without waiting for the server; large ones through SDL's shared
    // memory, the pieces in a single round.
    if (!copied.empty() && !presenter_.Present(static_cast<const std::uint32_t*>(target->pixels),
                                               target->w, target->h, target->pitch, copied))
        SDL_UpdateWindowSurfaceRects(window_, copied.data(), static_cast<int>(copied.size()));
    if (source) SDL_FreeSurface(source);
}

void SdlHostWindow::SetShape(const std::uint32_t* pixels, int width, int height, int stride,
                             int cutoff) {
    if (!shaped_ || !pixels) return;
    shape_ = ShapeRuns(pixels, width, height, stride, cutoff);
    hasShape_ = true;
    // Mapping a window drops its shape; a hidden window gets it again when it is shown.
    if (IsVisible()) ApplyWindowShape(window_, shape_);
}

void SdlHostWindow::Deliver(const HostEvent& event) {
    if (listener_) listener_->OnHostEvent(*this, event);
}

void SdlHostWindow::DeliverMouse(HostEvent::Type type, int x, int y) {
    HostEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    Deliver(event);
}

void SdlHostWindow::DeliverKey(const SDL_KeyboardEvent& key) {
    HostEvent event;
    if (std::uint32_t special = SpecialKeyCode(key.keysym.sym)) {
        event.type = HostEvent::Type::KeyDown;
        event.code = special | kKeyDownBit;
        Deliver(event);
    }
    if (std::uint32_t character = ControlCharacter(key.keysym.sym, key.keysym.mod)) {
        event.type = HostEvent::Type::Character;
        event.code = character;
        Deliver(event);
    }
}

void SdlHostWindow::DeliverText(const char* utf8) {
    HostEvent event;
    event.type = HostEvent::Type::Character;
    while (*utf8) {
        event.code = NextCodePoint(utf8);
        Deliver(event);
    }
}

void SdlHostWindow::Dispatch(const SDL_Event& e) {
    HostEvent event;
    switch (e.type) {
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_SHOWN:
                    KeepPlacement();
                    if (hasShape_) ApplyWindowShape(window_, shape_);
                    [[fallthrough]];
                case SDL_WINDOWEVENT_EXPOSED:
                    event.type = HostEvent::Type::Expose;
                    Deliver(event);
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    event.type = HostEvent::Type::Sized;
                    event.width = e.window.data1;
                    event.height = e.window.data2;
                    Deliver(event);
                    break;
                case SDL_WINDOWEVENT_MOVED:
                    event.type = HostEvent::Type::Moved;
                    event.x = e.window.data1;
                    event.y = e.window.data2;
                    Deliver(event);
                    break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    event.type = HostEvent::Type::FocusGained;
                    Deliver(event);
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    SDL_CaptureMouse(SDL_FALSE);
                    event.type = HostEvent::Type::FocusLost;
                    Deliver(event);
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    event.type = HostEvent::Type::CloseRequest;
                    Deliver(event);
                    break;
                default:
                    break;
            }
            return;
        default:
            break;
    }
    if (!inputEnabled_) return;
    switch (e.type) {
        case SDL_MOUSEMOTION:
            // Repeated reports of the same point are not news.
            if (e.motion.x == lastMouseX_ && e.motion.y == lastMouseY_) return;
            lastMouseX_ = e.motion.x;
            lastMouseY_ = e.motion.y;
            DeliverMouse(HostEvent::Type::MouseMove, e.motion.x, e.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN: {
            SDL_CaptureMouse(SDL_TRUE);
            bool twice = e.button.clicks >= 2 && e.button.clicks % 2 == 0;
            if (e.button.button == SDL_BUTTON_LEFT)
                DeliverMouse(twice ? HostEvent::Type::LeftDoubleClick : HostEvent::Type::LeftDown,
                             e.button.x, e.button.y);
            else if (e.button.button == SDL_BUTTON_RIGHT)
                DeliverMouse(twice ? HostEvent::Type::RightDoubleClick : HostEvent::Type::RightDown,
                             e.button.x, e.button.y);
            break;
        }
        case SDL_MOUSEBUTTONUP: {
            SDL_CaptureMouse(SDL_FALSE);
            // As releasing the capture does on Windows, the pointer is reported again where it
            // rests: a click ends the hover of what it clicked, and without this a second click
            // that no move precedes would not count. Queued, as the click may close the window.
            SDL_Event again{};
            again.type = SDL_MOUSEMOTION;
            again.motion.windowID = e.button.windowID;
            again.motion.which = e.button.which;
            again.motion.x = e.button.x;
            again.motion.y = e.button.y;
            SDL_PushEvent(&again);
            lastMouseX_ = lastMouseY_ = -1;
            if (e.button.button == SDL_BUTTON_LEFT)
                DeliverMouse(HostEvent::Type::LeftUp, e.button.x, e.button.y);
            else if (e.button.button == SDL_BUTTON_RIGHT)
                DeliverMouse(HostEvent::Type::RightUp, e.button.x, e.button.y);
            break;
        }
        case SDL_MOUSEWHEEL: {
            event.type = HostEvent::Type::Wheel;
            int direction = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
            event.delta = e.wheel.y * 120 * direction;
            event.x = e.wheel.mouseX;
            event.y = e.wheel.mouseY;
            if (event.delta != 0) Deliver(event);
            break;
        }
        case SDL_KEYDOWN:
            DeliverKey(e.key);
            break;
        case SDL_TEXTINPUT:
            DeliverText(e.text.text);
            break;
        default:
            break;
    }
}

}  // namespace Platform
