#pragma once

#include <functional>
#include <thread>

namespace Platform {

// Turns SIGINT, SIGTERM, SIGHUP and SIGQUIT into an ordinary call on a thread of our own, so the
// program can end exactly as when its main window is closed (objects destroyed, settings saved)
// instead of dying inside whatever it was doing. Create it first thing in main, before any other
// thread starts: the signals are blocked for every thread created afterwards.
class ShutdownSignals {
public:
    // `onSignal` runs on the watcher thread, once per signal received.
    explicit ShutdownSignals(std::function<void(int signal)> onSignal);
    ~ShutdownSignals();
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

private:
    std::function<void(int)> onSignal_;
    std::thread watcher_;
};

}  // namespace Platform
