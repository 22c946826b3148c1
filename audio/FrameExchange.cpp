#include "audio/FrameExchange.h"

#include <algorithm>

FrameExchange::FrameExchange(std::size_t capacity) : capacity_(capacity), middle_(1u) {
    for (Slot& slot : slots_) slot.samples.assign(capacity_, 0.0f);
}

void FrameExchange::Publish(const float* samples, std::size_t count) noexcept {
    Slot& slot = slots_[back_];
    slot.size = std::min(count, capacity_);
    std::copy(samples, samples + slot.size, slot.samples.begin());
    back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & kIndex;
}

bool FrameExchange::Take() noexcept {
    if (!HasNew()) return false;
    front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kIndex;
    return true;
}

bool FrameExchange::HasNew() const noexcept {
    return (middle_.load(std::memory_order_acquire) & kFresh) != 0;
}
