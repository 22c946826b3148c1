#pragma once

#include <SDL2/SDL.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/HostWindow.h"

namespace Platform {

class SdlHostWindow;
class DescriptorWatch;

// SDL's video subsystem and its event loop; one per process.
class SdlHostSystem : public HostSystem {
public:
    SdlHostSystem();
    ~SdlHostSystem() override;

    std::unique_ptr<HostWindow> CreateWindow(WindowKind kind, HostWindow* owner,
                                             const HostRect& rect, const std::string& title,
                                             bool shaped) override;
    void RunLoop(const std::function<bool()>& running) override;
    void RunFor(int milliseconds) override;
    void SetTickDemand(std::function<int()> wantedInMs) override {
        tickDemand_ = std::move(wantedInMs);
    }
    int Watch(const std::vector<Descriptor>& descriptors, std::function<void()> ready) override;
    void Unwatch(int id) override;
    void Post(std::function<void()> work) override;
    bool GetClipboardText(std::string& text) override;
    bool SetClipboardText(const std::string& text) override;
    bool ShiftDown() const override { return (SDL_GetModState() & KMOD_SHIFT) != 0; }

    // SDL's error text after a failure.
    std::string LastError() const override { return lastError_; }

    void Register(SdlHostWindow* window);
    void Unregister(SdlHostWindow* window);
    Uint32 ElapsedMs() const { return SDL_GetTicks() - startTicks_; }

private:
    bool EnsureVideo();
    bool CanPost() const { return postEvent_ != 0 && postEvent_ != static_cast<Uint32>(-1); }
    void DispatchEvent(const SDL_Event& event);
    void DeliverTimers();
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;
    void Run(const std::function<bool()>& running, Deadline deadline);

    struct Watched {
        std::function<void()> ready;
        std::unique_ptr<DescriptorWatch> watch;
    };

    bool videoReady_ = false;
    Uint32 postEvent_ = 0;
    Uint32 startTicks_ = 0;
    Uint32 nextTick_ = 0;
    std::map<Uint32, SdlHostWindow*> windows_;
    std::function<int()> tickDemand_;
    std::map<int, std::shared_ptr<Watched>> watches_;
    int lastWatchId_ = 0;
    std::string lastError_;
};

}  // namespace Platform
