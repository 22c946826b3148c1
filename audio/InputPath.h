#pragma once

#include <functional>
#include <vector>

// The pieces of the input path, between the 44100 Hz input stream and the 11025 Hz consumers
// (scope displays and pitch analysis). They run on the audio thread: after construction
// nothing here allocates.

// Reduces a buffer in place by a whole factor: output sample k is the plain mean of input
// samples k*factor to k*factor+factor-1. Returns the new length. A factor below 2 leaves the
// buffer as it is.
int ReduceInPlace(float* samples, int count, int factor);

using SampleSink = std::function<void(const float* samples, int count)>;

// Collects pushed samples into whole blocks and hands each full block to the sink. Samples
// that do not fit into the current block are dropped.
class BlockCollector {
public:
    BlockCollector(int blockSize, SampleSink sink);
    void Push(const float* samples, int count);
    int Position() const { return position_; }

private:
    int position_ = 0;
    int blockSize_;
    std::vector<float> block_;
    SampleSink sink_;
};

// A frame that slides over the pushed samples and is handed to the sink every `hop` samples.
class SlidingFrame {
public:
    SlidingFrame(int frameSize, int hop, SampleSink sink);
    void Push(const float* samples, int count);
    const std::vector<float>& Frame() const { return frame_; }
    int Filled() const { return filled_; }

private:
    int filled_ = 0;
    int frameSize_;
    int hop_;
    std::vector<float> frame_;
    SampleSink sink_;
};
