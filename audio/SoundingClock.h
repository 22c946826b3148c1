#pragma once

#include <atomic>
#include <cstdint>

// Where an output stream is in the sound the listener hears, between the device's blocks too.
// Each block stamps the number of its first frame and the time on the stream's clock at which
// that frame is heard; at any later moment the position runs on from the latest stamp at the
// sample rate. Counting handed-over frames instead moves in steps of a whole block.
//
// Stamp runs on the device thread and never waits; the readers retry the rare read that a
// stamp overlapped.
class SoundingClock {
public:
    struct Mark {
        std::uint64_t frame = 0;
        double heardAt = 0.0;  // on the stream's clock, seconds
    };

    // Only while the stream is stopped: no block is stamped until the next start.
    void Reset();
    void Stamp(std::uint64_t frame, double heardAt) noexcept;

    // False until a block with a known time was stamped.
    bool Stamped() const { return stamps_.load(std::memory_order_acquire) != 0; }
    // Counts the stamps; odd while one is being written.
    std::uint64_t Stamps() const { return stamps_.load(std::memory_order_acquire); }
    Mark Latest() const;
    // Frames heard at `now` on the stream's clock: never below 0 and never beyond `handed`,
    // the frames the device has been given.
    double FramesAt(double now, double sampleRate, double handed) const;

private:
    std::atomic<std::uint64_t> stamps_{0};  // a sequence lock: odd while writing
    std::atomic<std::uint64_t> frame_{0};
    std::atomic<double> heardAt_{0.0};
};
