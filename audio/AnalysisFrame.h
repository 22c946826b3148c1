#pragma once

#include <vector>

#include "audio/FrameExchange.h"

// The latest analysis frame of the input (2048 samples at 11025 Hz), handed from the audio
// thread to the pitch analysis on the GUI thread without either waiting (see FrameExchange):
// a frame the analysis has not taken yet is replaced by the next.
class AnalysisFrame {
public:
    static constexpr int kFrame = 2048;

    explicit AnalysisFrame(int capacity = kFrame);

    // Audio thread: stores a frame (at most the capacity) and marks it new. Allocates nothing.
    void Deliver(const float* samples, int count) noexcept;

    // GUI thread: copies the frame into `out` and clears the mark when a new frame has arrived
    // since the last call; false (and `out` untouched) otherwise.
    bool TakeIfNew(std::vector<float>& out);

    bool HasNewFrame() const;

private:
    // The first request always analyses what there is.
    FrameExchange exchange_;
};

AnalysisFrame& DllAnalysisFrameInstance();
