#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <vector>

// Hands the newest of a stream of frames from one producer thread (a sound device's) to one
// consumer thread (the GUI's) without either waiting: three slots, one being written, one
// being read, and one in between that the two swap with theirs. A frame the consumer has not
// taken is replaced by the next one; a display or an analysis only ever wants the newest.
// The slots are allocated when built, so publishing never allocates.
class FrameExchange {
public:
    explicit FrameExchange(std::size_t capacity);

    // Producer: publishes a copy of the first `count` samples (at most the capacity).
    void Publish(const float* samples, std::size_t count) noexcept;

    // Consumer: makes the newest published frame the current one; false (and the current
    // frame unchanged) when nothing was published since the last take.
    bool Take() noexcept;
    bool HasNew() const noexcept;
    // Consumer: the frame of the last successful take.
    const float* Data() const { return slots_[front_].samples.data(); }
    std::size_t Size() const { return slots_[front_].size; }
    std::size_t Capacity() const { return capacity_; }

private:
    struct Slot {
        std::vector<float> samples;
        std::size_t size = 0;
    };
    static constexpr unsigned kIndex = 3;
    static constexpr unsigned kFresh = 4;

    std::size_t capacity_;
    std::array<Slot, 3> slots_;
    unsigned back_ = 0;             // the producer's
    std::atomic<unsigned> middle_;  // index of the slot in between, with kFresh once published
    unsigned front_ = 2;            // the consumer's
};
