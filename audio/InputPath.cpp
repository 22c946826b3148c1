#include "audio/InputPath.h"

#include <algorithm>

int ReduceInPlace(float* samples, int count, int factor) {
    if (factor < 2 || count <= 0) return count;
    int reduced = count / factor;
    for (int k = 0; k < reduced; ++k) {
        float sum = 0.0f;
        for (int j = 0; j < factor; ++j) sum += samples[k * factor + j];
        samples[k] = sum / static_cast<float>(factor);
    }
    return reduced;
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

SlidingFrame::SlidingFrame(int frameSize, int hop, SampleSink sink)
    : frameSize_(std::max(frameSize, 1)),
      hop_(std::max(hop, 1)),
      frame_(static_cast<std::size_t>(frameSize_), 0.0f),
      sink_(std::move(sink)) {}

void SlidingFrame::Push(const float* samples, int count) {
    if (count <= 0) return;
    if (count >= frameSize_) {
        if (sink_) sink_(samples, frameSize_);
        return;
    }
    std::move(frame_.begin() + count, frame_.end(), frame_.begin());
    std::copy(samples, samples + count, frame_.end() - count);
    filled_ += count;
    if (filled_ >= hop_) {
        if (sink_) sink_(frame_.data(), frameSize_);
        filled_ = 0;
    }
}
