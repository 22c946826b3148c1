#include "platform/SdlHost.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/DescriptorWatch.h"
#include "platform/SdlHostWindow.h"

namespace Platform {

namespace {

constexpr Uint32 kTimerPeriodMs = 10;

}  // namespace

SdlHostSystem::SdlHostSystem() {
    // The program handles the termination signals itself.
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
    watches_.clear();
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
    // A listener may close windows while it handles the tick: walk a copy. A minimised window
    // still ticks: what it runs goes on while it is out of sight.
    auto windows = windows_;
    for (auto& [id, window] : windows)
        if (windows_.count(id) && (window->IsVisible() || window->IsMinimized()))
            window->Deliver(event);
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
    Run(running, std::nullopt);
}

void SdlHostSystem::RunFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    Run([end] { return std::chrono::steady_clock::now() < end; }, end);
}

void SdlHostSystem::Run(const std::function<bool()>& running, Deadline deadline) {
    while (running()) {
        Uint32 now = SDL_GetTicks();
        SDL_Event event;
        bool got = false;
        const int wanted = tickDemand_ ? tickDemand_() : 0;
        if (wanted >= 0) {
            // After a sleep the tick that is due comes at once.
            Uint32 due = nextTick_;
            if (static_cast<Sint32>(now + static_cast<Uint32>(wanted) - due) > 0)
                due = now + static_cast<Uint32>(wanted);
            if (static_cast<Sint32>(now - due) >= 0) {
                nextTick_ = now + kTimerPeriodMs;
                DeliverTimers();
                continue;
            }
            got = SDL_WaitEventTimeout(&event, static_cast<int>(due - now));
        } else if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                *deadline - std::chrono::steady_clock::now());
            got = SDL_WaitEventTimeout(&event, std::max(1, static_cast<int>(left.count())));
        } else {
            // Nothing moves on its own: sleep until something happens.
            got = SDL_WaitEvent(&event);
        }
        if (got) {
            DispatchEvent(event);
            while (running() && SDL_PollEvent(&event)) DispatchEvent(event);
        }
    }
}

int SdlHostSystem::Watch(const std::vector<Descriptor>& descriptors, std::function<void()> ready) {
    if (!CanPost() || descriptors.empty()) return 0;
    std::vector<pollfd> polled;
    for (const Descriptor& d : descriptors) polled.push_back(pollfd{d.fd, d.events, 0});
    auto watched = std::make_shared<Watched>();
    watched->ready = std::move(ready);
    // The report crosses to the loop's thread; a watch stopped meanwhile is not called.
    std::weak_ptr<Watched> weak = watched;
    watched->watch = std::make_unique<DescriptorWatch>(std::move(polled), [this, weak] {
        Post([weak] {
            if (auto alive = weak.lock()) {
                if (alive->ready) alive->ready();
                alive->watch->Rearm();
            }
        });
    });
    watches_[++lastWatchId_] = std::move(watched);
    return lastWatchId_;
}

void SdlHostSystem::Unwatch(int id) {
    watches_.erase(id);
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
