#include "audio/AnalysisFrame.h"

#include <algorithm>

#include "pym/base/Singleton.h"

AnalysisFrame::AnalysisFrame(int capacity)
    : exchange_(static_cast<std::size_t>(std::max(capacity, 0)), true) {}

void AnalysisFrame::Deliver(const float* samples, int count) noexcept {
    exchange_.Publish(samples, static_cast<std::size_t>(std::max(count, 0)));
}

bool AnalysisFrame::TakeIfNew(std::vector<float>& out) {
    if (!exchange_.Take()) return false;
    out.assign(exchange_.Data(), exchange_.Data() + exchange_.Size());
    return true;
}

bool AnalysisFrame::HasNewFrame() const {
    return exchange_.HasNew();
}

AnalysisFrame& DllAnalysisFrameInstance() {
    return Pym::Singleton<AnalysisFrame>::Instance();
}
