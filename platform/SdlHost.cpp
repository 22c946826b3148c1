#include "platform/SdlHost.h"

#include "platform/WindowShape.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace Platform {

namespace {

constexpr Uint32 kTimerPeriodMs = 10;

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

// Decodes one UTF-8 sequence; returns the code point and advances `text`.
std::uint32_t NextCodePoint(const char*& text) {
    auto byte = [&text] { return static_cast<unsigned char>(*text++); };
    std::uint32_t first = byte();
    int extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
    std::uint32_t code = extra == 3   ? first & 0x07
                         : extra == 2 ? first & 0x0F
                         : extra == 1 ? first & 0x1F
                                      : first;
    for (int i = 0; i < extra && (static_cast<unsigned char>(*text) & 0xC0) == 0x80; ++i)
        code = code << 6 | (byte() & 0x3F);
    return code;
}

std::uint32_t SpecialKeyCode(SDL_Keycode sym) {
    switch (sym) {
        case SDLK_BACKSPACE:
            return KeyBackspace;
        case SDLK_LEFT:
            return KeyLeft;
        case SDLK_UP:
            return KeyUp;
        case SDLK_RIGHT:
            return KeyRight;
        case SDLK_DOWN:
            return KeyDown;
        case SDLK_HOME:
            return KeyHome;
        case SDLK_END:
            return KeyEnd;
        case SDLK_DELETE:
            return KeyDelete;
        default:
            return 0;
    }
}

// Characters that a keyboard produces without text input: control characters.
std::uint32_t ControlCharacter(SDL_Keycode sym, Uint16 modifiers) {
    switch (sym) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_ESCAPE:
            return 27;
        default:
            break;
    }
    if ((modifiers & KMOD_CTRL) && sym >= SDLK_a && sym <= SDLK_z)
        return static_cast<std::uint32_t>(sym - SDLK_a + 1);
    return 0;
}

}  // namespace

std::vector<HostRect> ShapeRuns(const std::uint32_t* pixels, int width, int height, int stride,
                                int cutoff) {
    std::vector<HostRect> runs;
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(bytes + static_cast<std::size_t>(y) * stride);
        int x = 0;
        while (x < width) {
            while (x < width && static_cast<int>(row[x] >> 24) < cutoff) ++x;
            int start = x;
            while (x < width && static_cast<int>(row[x] >> 24) >= cutoff) ++x;
            if (x > start) runs.push_back(HostRect{start, y, x - start, 1});
        }
    }
    return runs;
}

// --- window -------------------------------------------------------------------------------

SdlHostWindow::SdlHostWindow(SdlHostSystem& system, SDL_Window* window, bool shaped)
    : system_(system), window_(window), shaped_(shaped) {
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
    std::vector<std::uint32_t> straight(static_cast<std::size_t>(width) * height);
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(bytes + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = row[x], a = p >> 24;
            auto channel = [a](std::uint32_t c) { return a ? std::min(255u, c * 255 / a) : 0u; };
            straight[static_cast<std::size_t>(y) * width + x] =
                a << 24 | channel(p >> 16 & 0xFF) << 16 | channel(p >> 8 & 0xFF) << 8 |
                channel(p & 0xFF);
        }
    }
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

void SdlHostWindow::Present(const std::uint32_t* pixels, int width, int height, int stride,
                            const HostRect& dirty) {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target || !pixels) return;
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(pixels), width, height, 32, stride, SDL_PIXELFORMAT_ARGB8888);
    if (!source) return;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_Rect rect{dirty.x, dirty.y, dirty.width, dirty.height};
    SDL_Rect bounds{0, 0, std::min(width, target->w), std::min(height, target->h)};
    SDL_Rect area;
    if (SDL_IntersectRect(&rect, &bounds, &area)) {
        SDL_Rect to = area;
        SDL_BlitSurface(source, &area, target, &to);
        SDL_UpdateWindowSurfaceRects(window_, &area, 1);
    }
    SDL_FreeSurface(source);
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

// --- system -------------------------------------------------------------------------------

SdlHostSystem::SdlHostSystem() {
    // The program handles SIGINT and SIGTERM itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Cairo draws into the window surface in memory; asking for an accelerated surface would
    // make SDL open an OpenGL context and load a whole software renderer for nothing.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) == 0) postEvent_ = SDL_RegisterEvents(1);
    startTicks_ = SDL_GetTicks();
}

SdlHostSystem::~SdlHostSystem() {
    // Work posted but never run is dropped with its callables.
    SDL_Event event;
    while (CanPost() && SDL_PeepEvents(&event, 1, SDL_GETEVENT, postEvent_, postEvent_) > 0)
        delete static_cast<std::function<void()>*>(event.user.data1);
    if (videoReady_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

bool SdlHostSystem::EnsureVideo() {
    if (videoReady_) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        lastError_ = SDL_GetError();
        return false;
    }
    // Without a display SDL falls back to drivers that draw nowhere: the program would run
    // unseen and never end. Only a driver asked for by name may be one of those.
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string name = driver ? driver : "";
    if (!getenv("SDL_VIDEODRIVER") && name != "x11" && name != "wayland") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        lastError_ = "no display to show a window on (is DISPLAY or WAYLAND_DISPLAY set?)";
        return false;
    }
    videoReady_ = true;
    return true;
}

std::unique_ptr<HostWindow> SdlHostSystem::CreateWindow(WindowKind kind, HostWindow* /*owner*/,
                                                        const HostRect& rect,
                                                        const std::string& title, bool shaped) {
    if (!EnsureVideo()) return nullptr;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    if (kind != WindowKind::Application) flags |= SDL_WINDOW_SKIP_TASKBAR;
    if (kind == WindowKind::Popup) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    int width = std::max(rect.width, 1);
    int height = std::max(rect.height, 1);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), rect.x, rect.y, width, height, flags);
    if (!window) {
        lastError_ = SDL_GetError();
        return nullptr;
    }
    return std::make_unique<SdlHostWindow>(*this, window, shaped);
}

void SdlHostSystem::Register(SdlHostWindow* window) {
    windows_[window->Id()] = window;
}

void SdlHostSystem::Unregister(SdlHostWindow* window) {
    for (auto it = windows_.begin(); it != windows_.end(); ++it)
        if (it->second == window) {
            windows_.erase(it);
            return;
        }
}

void SdlHostSystem::DeliverTimers() {
    HostEvent event;
    event.type = HostEvent::Type::Timer;
    event.code = ElapsedMs();
    // A listener may close windows while it handles the tick: walk a copy.
    auto windows = windows_;
    for (auto& [id, window] : windows)
        if (windows_.count(id) && window->IsVisible()) window->Deliver(event);
}

void SdlHostSystem::DispatchEvent(const SDL_Event& event) {
    if (CanPost() && event.type == postEvent_) {
        std::unique_ptr<std::function<void()>> work(
            static_cast<std::function<void()>*>(event.user.data1));
        if (work && *work) (*work)();
        return;
    }
    Uint32 id = 0;
    switch (event.type) {
        case SDL_WINDOWEVENT:
            id = event.window.windowID;
            break;
        case SDL_MOUSEMOTION:
            id = event.motion.windowID;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            id = event.button.windowID;
            break;
        case SDL_MOUSEWHEEL:
            id = event.wheel.windowID;
            break;
        case SDL_KEYDOWN:
            id = event.key.windowID;
            break;
        case SDL_TEXTINPUT:
            id = event.text.windowID;
            break;
        case SDL_DROPFILE: {
            id = event.drop.windowID;
            auto found = windows_.find(id);
            if (found != windows_.end() && found->second->InputEnabled()) {
                HostEvent drop;
                drop.type = HostEvent::Type::DropFile;
                int gx = 0, gy = 0;
                SDL_GetGlobalMouseState(&gx, &gy);
                HostRect at = found->second->Geometry();
                drop.x = gx - at.x;
                drop.y = gy - at.y;
                drop.text = event.drop.file ? event.drop.file : "";
                found->second->Deliver(drop);
            }
            SDL_free(event.drop.file);
            return;
        }
        default:
            return;
    }
    auto found = windows_.find(id);
    if (found != windows_.end()) found->second->Dispatch(event);
}

void SdlHostSystem::RunLoop(const std::function<bool()>& running) {
    while (running()) {
        Uint32 now = SDL_GetTicks();
        if (static_cast<Sint32>(now - nextTick_) >= 0) {
            nextTick_ = now + kTimerPeriodMs;
            DeliverTimers();
            continue;
        }
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, static_cast<int>(nextTick_ - now))) {
            DispatchEvent(event);
            while (running() && SDL_PollEvent(&event)) DispatchEvent(event);
        }
    }
}

void SdlHostSystem::Post(std::function<void()> work) {
    if (!CanPost()) return;
    SDL_Event event{};
    event.type = postEvent_;
    event.user.data1 = new std::function<void()>(std::move(work));
    if (SDL_PushEvent(&event) != 1) delete static_cast<std::function<void()>*>(event.user.data1);
}

bool SdlHostSystem::GetClipboardText(std::string& text) {
    if (!EnsureVideo() || !SDL_HasClipboardText()) return false;
    char* clip = SDL_GetClipboardText();
    if (!clip) return false;
    text = clip;
    SDL_free(clip);
    return true;
}

bool SdlHostSystem::SetClipboardText(const std::string& text) {
    return EnsureVideo() && SDL_SetClipboardText(text.c_str()) == 0;
}

// --- the program's host -------------------------------------------------------------------

namespace {
HostSystem* installed = nullptr;
}  // namespace

HostSystem& Host() {
    if (installed) return *installed;
    static SdlHostSystem* sdl = new SdlHostSystem();  // lives until the process ends
    return *sdl;
}

HostSystem* SetHost(HostSystem* host) {
    HostSystem* previous = installed;
    installed = host;
    return previous;
}

}  // namespace Platform
