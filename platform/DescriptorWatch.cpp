#include "platform/DescriptorWatch.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace Platform {

namespace {

constexpr auto kLeastInterval = std::chrono::milliseconds(10);

}  // namespace

DescriptorWatch::DescriptorWatch(std::vector<pollfd> descriptors, std::function<void()> ready)
    : descriptors_(std::move(descriptors)), ready_(std::move(ready)) {
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0) return;
    descriptors_.push_back(pollfd{wake_, POLLIN, 0});
    thread_ = std::thread([this] { Run(); });
}

DescriptorWatch::~DescriptorWatch() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (wake_ >= 0) {
        const std::uint64_t one = 1;
        (void)!write(wake_, &one, sizeof one);
    }
    if (thread_.joinable()) thread_.join();
    if (wake_ >= 0) close(wake_);
}

void DescriptorWatch::Rearm() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = true;
    }
    changed_.notify_all();
}

bool DescriptorWatch::WaitArmed() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return armed_ || stop_; });
    if (stop_) return false;
    return !changed_.wait_until(lock, lastReport_ + kLeastInterval, [this] { return stop_; });
}

void DescriptorWatch::Run() {
    const nfds_t count = descriptors_.size();
    while (WaitArmed()) {
        if (poll(descriptors_.data(), count, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (descriptors_.back().revents != 0) {
            std::uint64_t value = 0;
            (void)!read(wake_, &value, sizeof value);
            continue;  // stopping, seen at the top
        }
        bool any = false;
        for (nfds_t i = 0; i + 1 < count; ++i) any = any || descriptors_[i].revents != 0;
        if (!any) continue;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            armed_ = false;
            lastReport_ = std::chrono::steady_clock::now();
        }
        ready_();
    }
}

}  // namespace Platform
