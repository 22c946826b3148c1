#include "audio/BarBuffer.h"

#include <algorithm>

#include "pym/base/Singleton.h"

void BarBuffer::Replace(std::vector<float>& bar) {
    samples_.swap(bar);
}

void BarBuffer::CopyStart(float* out, unsigned long count) const {
    std::size_t n = std::min<std::size_t>(count, samples_.size());
    std::copy(samples_.begin(), samples_.begin() + static_cast<std::ptrdiff_t>(n), out);
    std::fill(out + n, out + count, 0.0f);
}

std::vector<float> BarBuffer::Samples() const {
    return samples_;
}

std::size_t BarBuffer::Size() const {
    return samples_.size();
}

void BarBuffer::Release() {
    std::vector<float>().swap(samples_);
}

BarBuffer& DllBarBufferInstance() {
    return Pym::Singleton<BarBuffer>::Instance();
}

int BarCallback(void*, void* output, unsigned long frames, double, void* userData) noexcept {
    if (output && userData)
        static_cast<const BarBuffer*>(userData)->CopyStart(static_cast<float*>(output), frames);
    return 0;
}
