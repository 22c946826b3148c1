#pragma once

#include <atomic>
#include <vector>

#include "audio/RealtimeSafe.h"
#include "audio/SoundingClock.h"
#include "audio/StreamBackend.h"

// The stream callback of the Wave layer: plain function taking (input buffer, output buffer,
// frame count, output time in frames, user data), returning 0 to keep the stream running.
using PortAudioCallback = int (*)(void* input, void* output, unsigned long frames, double outTime,
                                  void* userData);

// A loop as the output played it: the frame its first sample went out at and the number the
// GUI tagged it with (0: untagged).
struct LoopSpan {
    unsigned long long startFrame = 0;
    int tag = 0;
};

// Turns the device's buffers, whatever their size, into user buffers of exactly
// `framesPerBuffer` frames for the stream callback. In looped mode the one user buffer is
// rendered once before the start and then played cyclically from memory, sample-continuous
// across the wrap, without further callback calls.
//
// Process runs on the device thread and allocates nothing; Configure, Reset and PrimeLoop run
// only while the stream is stopped.
class StreamAdapter : public DeviceClient {
public:
    void Configure(int inputChannels, int outputChannels, unsigned long framesPerBuffer);
    void SetTarget(PortAudioCallback callback, void* userData);

    // Before a plain start: the first device buffer asks the callback for fresh samples.
    void Reset();
    // Before a looped start: runs the callback once into the loop buffer.
    void PrimeLoop();

    int Process(const float* input, float* output, unsigned long frames,
                double heardAt) ONDREL_NONBLOCKING override;

    // While looping, from the GUI thread: the loop to play from the wrap numbered `atWrap`
    // on (or the next wrap, when that one has passed), of any length. One hand-over at a
    // time: a second one replaces a first that has not been taken yet.
    void QueueLoop(const std::vector<float>& samples, unsigned long long atWrap, int tag = 0);
    // After a looped start, before anything is queued: tags the first loop.
    void TagLoop(int tag) { spanTag_[0].store(tag); }
    // The loop whose sound `frame` belongs to: the one playing, or, until its first frame is
    // reached, the one before it (the device switches loops ahead of their being heard).
    LoopSpan LoopAt(double frame) const;
    // Whether a queued loop is still waiting for its wrap.
    bool LoopQueued() const { return handOver_.load() != kEmpty; }
    // Times the loop has wrapped around since the start.
    unsigned long long Wraps() const { return wraps_.load(); }

    // Frames handed to or taken from the device since the last start.
    double FramesProcessed() const { return static_cast<double>(processed_.load()); }
    // When the output's frames are heard, as the device's blocks told it.
    const SoundingClock& Sounding() const { return sounding_; }
    unsigned long FramesPerBuffer() const { return framesPerBuffer_; }
    // After a looped start, until a queued loop is taken: the loop being played.
    const std::vector<float>& Loop() const { return output_; }

private:
    int Refill();
    // At a wrap of the loop: takes the queued loop when its wrap has come.
    void TakeQueuedLoop();

    // The hand-over of the next loop: the GUI thread writes `pending_` only while it holds
    // the state kWriting, the device thread swaps it in only from kReady.
    enum HandOver { kEmpty, kWriting, kReady };
    std::atomic<int> handOver_{kEmpty};
    std::vector<float> pending_;
    unsigned long long pendingAt_ = 0;
    int pendingTag_ = 0;
    std::atomic<unsigned long long> wraps_{0};
    // The last two loops taken, by the count of switches: written by the device thread
    // before it counts the switch.
    std::atomic<unsigned long long> switches_{0};
    std::atomic<unsigned long long> spanStart_[2] = {};
    std::atomic<int> spanTag_[2] = {};

    int inputChannels_ = 0;
    int outputChannels_ = 0;
    unsigned long framesPerBuffer_ = 0;
    std::vector<float> input_;
    std::vector<float> output_;
    unsigned long position_ = 0;  // frames of the current user buffer already used
    bool looped_ = false;
    int finished_ = 0;  // what the callback returned when it asked to stop
    PortAudioCallback callback_ = nullptr;
    void* userData_ = nullptr;
    std::atomic<unsigned long long> processed_{0};
    unsigned long long bufferStart_ = 0;  // frame of the current user buffer's first sample
    SoundingClock sounding_;
};
