#pragma once

#include <mutex>
#include <vector>

// One rendered bar, shared between the GUI thread that renders it and the output callback that
// plays it. The lock is held only to swap a finished bar in or to copy samples out.
class BarBuffer {
public:
    // Replaces the bar; the previous bar plays until this returns.
    void Replace(std::vector<float>& bar);
    // Copies the first `count` samples of the bar into `out`, silence past its end.
    void CopyStart(float* out, unsigned long count) const;
    std::vector<float> Samples() const;
    std::size_t Size() const;

private:
    mutable std::mutex mutex_;
    std::vector<float> samples_;
};

BarBuffer& DllBarBufferInstance();

// The output callback that plays a bar (user data: the BarBuffer) from its start, silence past
// its end; with a looped start the device repeats it.
int BarCallback(void* input, void* output, unsigned long frames, double outTime, void* userData);
