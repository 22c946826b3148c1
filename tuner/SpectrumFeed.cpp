#include "tuner/SpectrumFeed.h"

#include <algorithm>
#include <cmath>

#include "pym/base/Singleton.h"
#include "settings/AppSettings.h"
#include "tuner/PitchAnalyser.h"

SpectrumFeed::SpectrumFeed() : SpectrumFeed(DllPitchAnalyserInstance(), DllAppSettingsInstance()) {}

SpectrumFeed::SpectrumFeed(PitchAnalyser& analyser, AppSettings& settings)
    : analyser_(analyser),
      settings_(settings),
      binCount_(AppSettings::SpectrumBinCount(settings.SpectrumTopFrequency())),
      output_(static_cast<std::size_t>(std::max(binCount_, 0)), 0.0f) {
    settings_.tunerCallback = [this](int count) { SetBinCount(count); };
}

SpectrumFeed::~SpectrumFeed() {
    settings_.tunerCallback = nullptr;
}

void SpectrumFeed::SetBinCount(int count) {
    binCount_ = count;
    output_.assign(static_cast<std::size_t>(std::max(count, 0)), 0.0f);
    lastCount_ = -1;  // the next analysis fills the new length
}

const std::vector<float>& SpectrumFeed::Get() {
    const std::vector<float>& work = analyser_.GetWork();
    const int count = analyser_.AnalysisCount();
    if (count == lastCount_ || binCount_ <= 0 || binCount_ >= static_cast<int>(work.size()))
        return output_;
    for (int i = 0; i < binCount_; ++i) {
        const float value = work[static_cast<std::size_t>(i)] / kDivisor;
        // A magnitude that is not a number shows as nothing rather than poisoning a bar.
        output_[static_cast<std::size_t>(i)] = std::isfinite(value) ? std::min(1.0f, value) : 0.0f;
    }
    lastCount_ = count;
    return output_;
}

SpectrumFeed& DllSpectrumFeedInstance() {
    return Pym::Singleton<SpectrumFeed>::Instance();
}
