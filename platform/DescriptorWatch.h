#pragma once

#include <poll.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Platform {

// A thread that sleeps in poll(2) on a set of file descriptors and reports when one of them is
// ready. After a report it looks no further until Rearm() (the reader has taken what was
// there), and never reports twice within 10 ms, so that a descriptor left ready cannot spin.
class DescriptorWatch {
public:
    // `ready` runs on the watch's own thread.
    DescriptorWatch(std::vector<pollfd> descriptors, std::function<void()> ready);
    ~DescriptorWatch();
    DescriptorWatch(const DescriptorWatch&) = delete;
    DescriptorWatch& operator=(const DescriptorWatch&) = delete;

    // Callable from any thread.
    void Rearm();

private:
    void Run();
    bool WaitArmed();

    std::vector<pollfd> descriptors_;  // the caller's, then our own wake-up
    std::function<void()> ready_;
    int wake_ = -1;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = true;
    bool stop_ = false;
    std::chrono::steady_clock::time_point lastReport_{};
    std::thread thread_;
};

}  // namespace Platform
