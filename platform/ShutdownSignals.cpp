#include "platform/ShutdownSignals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

namespace Platform {

namespace {

// The value our own wake-up carries; a SIGUSR2 from anyone else is swallowed and ignored, so
// it can never stop the watcher and leave the termination signals blocked for good.
constexpr int kStopToken = 0x0DE1;

// SIGHUP comes with a desktop logout, SIGQUIT from a terminal: both end the program the way
// SIGTERM does, settings saved. SIGUSR2 carries our own wake-up.
sigset_t WatchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR2}) sigaddset(&set, s);
    return set;
}

bool IsOurStop(const siginfo_t& info) {
    return info.si_signo == SIGUSR2 && info.si_code == SI_QUEUE && info.si_pid == getpid() &&
           info.si_value.sival_int == kStopToken;
}

}  // namespace

ShutdownSignals::ShutdownSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
    sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    watcher_ = std::thread([this, set] {
        for (;;) {
            siginfo_t info{};
            if (sigwaitinfo(&set, &info) < 0) continue;
            if (IsOurStop(info)) return;
            if (info.si_signo != SIGUSR2 && onSignal_) onSignal_(info.si_signo);
        }
    });
}

ShutdownSignals::~ShutdownSignals() {
    sigval value{};
    value.sival_int = kStopToken;
    pthread_sigqueue(watcher_.native_handle(), SIGUSR2, value);
    watcher_.join();
}

}  // namespace Platform
