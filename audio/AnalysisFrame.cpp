#include "audio/AnalysisFrame.h"

#include <algorithm>

#include "pym/base/Singleton.h"

void AnalysisFrame::Deliver(const float* samples, int count) {
    if (count < 0) count = 0;
    std::lock_guard lock(mutex_);
    frame_.resize(static_cast<std::size_t>(count));
    std::copy(samples, samples + count, frame_.begin());
    newFrame_ = true;
}

bool AnalysisFrame::TakeIfNew(std::vector<float>& out) {
    std::lock_guard lock(mutex_);
    if (!newFrame_) return false;
    out = frame_;
    newFrame_ = false;
    return true;
}

bool AnalysisFrame::HasNewFrame() const {
    std::lock_guard lock(mutex_);
    return newFrame_;
}

AnalysisFrame& DllAnalysisFrameInstance() {
    return Pym::Singleton<AnalysisFrame>::Instance();
}
