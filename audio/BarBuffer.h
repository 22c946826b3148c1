#pragma once

#include <vector>

// One rendered bar. It is played by a looped start, which copies it into the stream before the
// stream starts (BarCallback runs then, on the GUI thread), so the device thread never reads
// it and a new bar can be rendered while the old one plays. A plain start reads it on the
// device thread: then it must not be replaced while the stream runs.
class BarBuffer {
public:
    // Replaces the bar; `bar` receives the previous one.
    void Replace(std::vector<float>& bar);
    // Copies the first `count` samples of the bar into `out`, silence past its end.
    void CopyStart(float* out, unsigned long count) const;
    std::vector<float> Samples() const;
    std::size_t Size() const;
    // Frees the bar: after a looped start the stream plays its own copy.
    void Release();

private:
    std::vector<float> samples_;
};

BarBuffer& DllBarBufferInstance();

// The output callback that plays a bar (user data: the BarBuffer) from its start, silence past
// its end; with a looped start the device repeats it.
int BarCallback(void* input, void* output, unsigned long frames, double outTime,
                void* userData) noexcept;
