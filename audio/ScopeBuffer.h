#pragma once

#include <mutex>
#include <vector>

// The latest 512-sample input block at 11025 Hz, for the scope and spectrum displays. The
// audio thread holds the lock only to copy a block in, the GUI thread only to copy it out.
class ScopeBuffer {
public:
    ScopeBuffer();
    void Deliver(const float* samples, int count);
    void CopyTo(std::vector<float>& out) const;

private:
    mutable std::mutex mutex_;
    std::vector<float> block_;
};

ScopeBuffer& DllScopeBufferInstance();
