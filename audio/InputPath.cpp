#include "audio/InputPath.h"

#include <algorithm>
#include <cmath>

#include "audio/dsp/Window.h"

Decimator::Decimator(int factor, double inputRate, double cutoffHz)
    : factor_(factor), line_(2 * kTaps, 0.0f) {
    std::vector<float> window = MakeWindow(kWindowBlackmanHarris, kTaps);
    const double cutoff = cutoffHz / inputRate;  // cycles per sample
    const int middle = kTaps / 2;
    double sum = 0.0;
    taps_.resize(kTaps);
    for (int i = 0; i < kTaps; ++i) {
        int n = i - middle;
        double sinc = n == 0 ? 2.0 * cutoff : std::sin(2.0 * M_PI * cutoff * n) / (M_PI * n);
        taps_[i] = static_cast<float>(sinc * window[i]);
    }
    // Process folds the two halves together, so they must be mirror images to the last bit.
    for (int i = 0; i < middle; ++i) taps_[kTaps - 1 - i] = taps_[i];
    for (float tap : taps_) sum += tap;
    for (float& tap : taps_) tap = static_cast<float>(tap / sum);
}

void Decimator::Reset() {
    std::fill(line_.begin(), line_.end(), 0.0f);
    position_ = 0;
    phase_ = 0;
}

int Decimator::Process(const float* in, int count, float* out) {
    if (count <= 0) return 0;
    if (factor_ < 2) {
        if (out != in) std::copy(in, in + count, out);
        return count;
    }
    int written = 0;
    for (int i = 0; i < count; ++i) {
        line_[position_] = line_[position_ + kTaps] = in[i];
        position_ = position_ + 1 == kTaps ? 0 : position_ + 1;
        if (++phase_ < factor_) continue;
        phase_ = 0;
        // The newest kTaps samples, oldest first, start at the next write position.
        const float* window = line_.data() + position_;
        out[written++] = Filter(window);  // never overtakes the reading: written <= i / factor_
    }
    return written;
}

float Decimator::Filter(const float* window) const {
    // The taps are symmetric, so each pair of samples mirrored about the middle shares one
    // product; eight running sums let the compiler keep them in one vector register.
    constexpr int kHalf = kTaps / 2;
    constexpr int kLanes = 8;
    static_assert(kHalf % kLanes == 0);
    float lanes[kLanes] = {};
    const float* taps = taps_.data();
    for (int k = 0; k < kHalf; k += kLanes)
        for (int j = 0; j < kLanes; ++j)
            lanes[j] += taps[k + j] * (window[k + j] + window[kTaps - 1 - k - j]);
    float acc = taps[kHalf] * window[kHalf];
    for (float lane : lanes) acc += lane;
    return acc;
}

BlockCollector::BlockCollector(int blockSize, SampleSink sink)
    : blockSize_(std::max(blockSize, 1)),
      block_(static_cast<std::size_t>(blockSize_)),
      sink_(std::move(sink)) {}

void BlockCollector::Push(const float* samples, int count) {
    if (count <= 0) return;
    if (count >= blockSize_) {
        if (sink_) sink_(samples, blockSize_);
        return;
    }
    int copied = std::min(count, blockSize_ - position_);
    std::copy(samples, samples + copied, block_.begin() + position_);
    position_ += copied;
    if (position_ == blockSize_) {
        if (sink_) sink_(block_.data(), blockSize_);
        position_ = 0;
    }
}
