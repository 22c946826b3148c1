#include "vis/VisSources.h"

#include <algorithm>
#include <memory>

#include "audio/AudioSystem.h"
#include "audio/ScopeBuffer.h"
#include "tuner/SpectrumFeed.h"

namespace {
// The scope buffer's block: 512 samples at the analysis rate.
constexpr std::size_t kScopeBlock = 512;
}  // namespace

ScopeSource::ScopeSource() : block_(kScopeBlock, 0.0f) {}

const std::vector<float>& ScopeSource::Get() {
    const std::size_t size = block_.size();
    if (DllAudioSystemInstance().Input().IsActive()) {
        DllScopeBufferInstance().CopyTo(block_);
        // A block of another length would make the display reallocate: keep the length.
        block_.resize(size, 0.0f);
    } else {
        std::fill(block_.begin(), block_.end(), 0.0f);
    }
    return block_;
}

SampleSource InputScopeSource() {
    auto source = std::make_shared<ScopeSource>();
    return [source]() -> const std::vector<float>& { return source->Get(); };
}

SampleSource InputSpectrumSource() {
    return []() -> const std::vector<float>& { return DllSpectrumFeedInstance().Get(); };
}
