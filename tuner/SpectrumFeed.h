#pragma once

#include <vector>

class PitchAnalyser;
class AppSettings;

// The spectrum the displays show: the analyser's magnitudes up to the spectrum's top frequency,
// scaled by a divisor and clipped at 1. The bin count follows the settings' top frequency (the
// feed is its tuner hook); the output changes only when the analyser has analysed again.
class SpectrumFeed {
public:
    static constexpr float kDivisor = 100.0f;

    SpectrumFeed();
    SpectrumFeed(PitchAnalyser& analyser, AppSettings& settings);
    ~SpectrumFeed();
    SpectrumFeed(const SpectrumFeed&) = delete;
    SpectrumFeed& operator=(const SpectrumFeed&) = delete;

    // The output after refreshing the analyser.
    const std::vector<float>& Get();
    int BinCount() const { return binCount_; }
    void SetBinCount(int count);

private:
    PitchAnalyser& analyser_;
    AppSettings& settings_;
    int binCount_;
    std::vector<float> output_;
    int lastCount_ = -1;
};

SpectrumFeed& DllSpectrumFeedInstance();
