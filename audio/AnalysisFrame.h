#pragma once

#include <mutex>
#include <vector>

// The latest analysis frame of the input (2048 samples at 11025 Hz), handed from the audio
// thread to the pitch analysis on the GUI thread. The audio side holds the lock only to copy a
// frame in; the GUI side only to copy it out.
class AnalysisFrame {
public:
    AnalysisFrame() = default;

    // Audio thread: stores a frame and marks it new. Allocates only when the frame length
    // changes, which the input path never does after its first frame.
    void Deliver(const float* samples, int count);

    // GUI thread: copies the frame into `out` and clears the mark when a new frame has arrived
    // since the last call; false (and `out` untouched) otherwise.
    bool TakeIfNew(std::vector<float>& out);

    bool HasNewFrame() const;

private:
    mutable std::mutex mutex_;
    std::vector<float> frame_;
    bool newFrame_ = true;  // the first request always analyses what there is
};

AnalysisFrame& DllAnalysisFrameInstance();
