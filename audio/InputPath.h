#pragma once

#include <functional>
#include <vector>

// The pieces of the input path, between the 44100 Hz input stream and the 11025 Hz consumers
// (scope displays and pitch analysis). They run on the audio thread: after construction
// nothing here allocates.

// Lowers the sample rate by a whole factor. What lies above the new half rate is filtered out
// first (a windowed-sinc low-pass with unit gain at DC), so the overtones of bright tones do
// not fold back into the band the tuner reads; a plain mean of each group lets them through
// and makes square and sawtooth waves read as wrong notes. The filter runs only at the
// samples that are kept, and its history carries across calls, so buffers join seamlessly.
class Decimator {
public:
    // The tuner's reduction: 44100 Hz to 11025 Hz, everything above 5 kHz removed first.
    static constexpr int kTunerFactor = 4;
    static constexpr double kTunerCutoffHz = 5000.0;

    static constexpr int kTaps = 193;

    // `cutoffHz` at `inputRate`; a factor below 2 passes samples through unchanged.
    Decimator(int factor, double inputRate, double cutoffHz);

    // Filters `count` samples and writes every factor-th to `out` (which may be `in`);
    // returns how many were written. Allocates nothing.
    int Process(const float* in, int count, float* out);
    void Reset();
    int Factor() const { return factor_; }

private:
    float Filter(const float* window) const;

    int factor_;
    std::vector<float> taps_;
    std::vector<float> line_;  // each sample twice, so the newest kTaps are always contiguous
    int position_ = 0;
    int phase_ = 0;
};

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
