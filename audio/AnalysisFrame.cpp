#include "audio/AnalysisFrame.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "pym/base/Singleton.h"

AnalysisFrame::AnalysisFrame(int frameSize, int hop)
    : frameSize_(std::max(frameSize, 1)),
      hop_(std::clamp(hop, 1, frameSize_)),
      ring_(std::bit_ceil(2 * static_cast<std::size_t>(frameSize_)), 0.0f),
      mask_(ring_.size() - 1) {
    Restart();
}

void AnalysisFrame::Restart() {
    std::fill(ring_.begin(), ring_.end(), 0.0f);
    end_ = static_cast<std::uint64_t>(frameSize_);
    oldest_.store(0, std::memory_order_relaxed);
    written_.store(end_, std::memory_order_relaxed);
}

void AnalysisFrame::Deliver(const float* samples, int count) noexcept {
    const std::uint64_t at = written_.load(std::memory_order_relaxed);
    const std::uint64_t limit = oldest_.load(std::memory_order_acquire) + ring_.size();
    const auto n =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(std::max(count, 0)), limit - at);
    for (std::uint64_t i = 0; i < n; ++i) ring_[(at + i) & mask_] = samples[i];
    written_.store(at + n, std::memory_order_release);
}

void AnalysisFrame::EndCallback(int count, std::chrono::steady_clock::time_point at) noexcept {
    // A host hands a piece over in callbacks well under a millisecond apart.
    constexpr std::int64_t kSamePiece = 3'000'000;  // nanoseconds
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
    const int before =
        now - lastCallback_ < kSamePiece ? pieceLength_.load(std::memory_order_relaxed) : 0;
    lastCallback_ = now;
    // Bounded: callbacks that never paused would otherwise count on past what an int holds.
    constexpr int kLongestPiece = 1 << 20;
    pieceLength_.store(std::min(before, kLongestPiece) + std::clamp(count, 0, kLongestPiece),
                       std::memory_order_relaxed);
    pieceEnded_.store(now, std::memory_order_release);
}

std::chrono::steady_clock::time_point AnalysisFrame::NextPieceDue(double sampleRate) const {
    const std::int64_t ended = pieceEnded_.load(std::memory_order_acquire);
    const int length = pieceLength_.load(std::memory_order_relaxed);
    if (ended == 0 || !(sampleRate > 0.0)) return {};
    return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ended)) +
           std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::duration<double>(length / sampleRate));
}

bool AnalysisFrame::TakeIfNew(std::vector<float>& out) {
    const std::uint64_t written = written_.load(std::memory_order_acquire);
    const std::uint64_t hop = static_cast<std::uint64_t>(hop_);
    const std::uint64_t frame = static_cast<std::uint64_t>(frameSize_);
    const bool fresh = std::exchange(fresh_, false);
    if (written - end_ < hop) {
        if (fresh) out.clear();
        return fresh;
    }
    end_ = written - end_ >= frame ? written : end_ + hop;
    // Everything before this frame may be overwritten from now on; nothing in it can be,
    // as the audio thread never writes more than the ring's length past the oldest sample.
    oldest_.store(end_ - frame, std::memory_order_release);
    out.resize(frame);
    for (std::uint64_t i = 0; i < frame; ++i) out[i] = ring_[(end_ - frame + i) & mask_];
    return true;
}

bool AnalysisFrame::HasNewFrame() const {
    return fresh_ ||
           written_.load(std::memory_order_acquire) - end_ >= static_cast<std::uint64_t>(hop_);
}

AnalysisFrame& DllAnalysisFrameInstance() {
    return Pym::Singleton<AnalysisFrame>::Instance();
}
