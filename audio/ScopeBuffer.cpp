#include "audio/ScopeBuffer.h"

#include <algorithm>

#include "pym/base/Singleton.h"

namespace {
constexpr std::size_t kBlock = 512;
}

// Room for the usual block from the start, so the audio thread never allocates here.
ScopeBuffer::ScopeBuffer() {
    block_.reserve(kBlock);
}

void ScopeBuffer::Deliver(const float* samples, int count) {
    if (count < 0) count = 0;
    std::lock_guard lock(mutex_);
    block_.resize(static_cast<std::size_t>(count));
    std::copy(samples, samples + count, block_.begin());
}

void ScopeBuffer::CopyTo(std::vector<float>& out) const {
    std::lock_guard lock(mutex_);
    out = block_;
}

ScopeBuffer& DllScopeBufferInstance() {
    return Pym::Singleton<ScopeBuffer>::Instance();
}
