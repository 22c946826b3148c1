#include "audio/SoundingClock.h"

#include <algorithm>
#include <cmath>

void SoundingClock::Reset() {
    stamps_.store(0, std::memory_order_release);
}

void SoundingClock::Stamp(std::uint64_t frame, double heardAt) noexcept {
    if (!std::isfinite(heardAt)) return;
    const std::uint64_t sequence = stamps_.load(std::memory_order_relaxed);
    stamps_.store(sequence + 1, std::memory_order_relaxed);
    // Released with the values, so a reader that sees either also sees the odd count. Without
    // fences ThreadSanitizer can follow it.
    frame_.store(frame, std::memory_order_release);
    heardAt_.store(heardAt, std::memory_order_release);
    stamps_.store(sequence + 2, std::memory_order_release);
}

SoundingClock::Mark SoundingClock::Latest() const {
    for (;;) {
        const std::uint64_t before = stamps_.load(std::memory_order_acquire);
        Mark mark{frame_.load(std::memory_order_acquire), heardAt_.load(std::memory_order_acquire)};
        if (before % 2 == 0 && stamps_.load(std::memory_order_relaxed) == before) return mark;
    }
}

double SoundingClock::FramesAt(double now, double sampleRate, double handed) const {
    const Mark mark = Latest();
    const double frames = static_cast<double>(mark.frame) + (now - mark.heardAt) * sampleRate;
    // A clock that stalls or jumps must not carry the displays off: the sound heard lies
    // between nothing and what the device holds.
    if (!std::isfinite(frames)) return 0.0;
    return std::clamp(frames, 0.0, std::max(handed, 0.0));
}
