#include "platform/ShutdownSignals.h"

#include <pthread.h>
#include <signal.h>

namespace Platform {

namespace {

// SIGUSR2 is ours: it wakes the watcher when the object goes away.
sigset_t WatchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR2);
    return set;
}

}  // namespace

ShutdownSignals::ShutdownSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
    sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    watcher_ = std::thread([this, set] {
        for (;;) {
            int received = 0;
            if (sigwait(&set, &received) != 0) continue;
            if (received == SIGUSR2) return;
            if (onSignal_) onSignal_(received);
        }
    });
}

ShutdownSignals::~ShutdownSignals() {
    pthread_kill(watcher_.native_handle(), SIGUSR2);
    watcher_.join();
}

}  // namespace Platform
