#include "audio/ScopeBuffer.h"

#include <algorithm>

#include "pym/base/Singleton.h"

ScopeBuffer::ScopeBuffer() : exchange_(kBlock) {}

void ScopeBuffer::Deliver(const float* samples, int count) noexcept {
    exchange_.Publish(samples, static_cast<std::size_t>(std::max(count, 0)));
}

void ScopeBuffer::CopyTo(std::vector<float>& out) {
    exchange_.Take();
    out.assign(exchange_.Data(), exchange_.Data() + exchange_.Size());
}

ScopeBuffer& DllScopeBufferInstance() {
    return Pym::Singleton<ScopeBuffer>::Instance();
}
