#pragma once

#include <vector>

#include "audio/FrameExchange.h"

// The latest 512-sample input block at 11025 Hz, for the scope and spectrum displays, handed
// from the audio thread to the GUI thread without either waiting (see FrameExchange).
class ScopeBuffer {
public:
    static constexpr int kBlock = 512;

    ScopeBuffer();
    // Audio thread; allocates nothing. Samples past the block's length are dropped.
    void Deliver(const float* samples, int count) noexcept;
    // GUI thread: the newest block delivered (empty before the first).
    void CopyTo(std::vector<float>& out);

private:
    FrameExchange exchange_;
};

ScopeBuffer& DllScopeBufferInstance();
