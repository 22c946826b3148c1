#include "bench/TunerInputPath.h"

#include "audio/AnalysisFrame.h"
#include "tuner/PitchAnalyser.h"

TunerInputPath::TunerInputPath(AnalysisFrame& frames, PitchAnalyser& analyser)
    : frames_(frames),
      analyser_(analyser),
      decimator_(kReduction, kInputRate, Decimator::kTunerCutoffHz),
      buffer_(kBufferFrames) {
    frames_.Restart();
}

void TunerInputPath::Feed(const float* samples, int count, const OnAnalysis& onAnalysis) {
    for (int i = 0; i < count; ++i) {
        buffer_[pending_++] = samples[i];
        if (pending_ < buffer_.size()) continue;
        pending_ = 0;
        consumed_ += kBufferFrames;
        const int reduced = decimator_.Process(buffer_.data(), kBufferFrames, buffer_.data());
        frames_.Deliver(buffer_.data(), reduced);
        if (!analyser_.HasNewFrame()) continue;
        analyser_.GetFrequency();
        if (onAnalysis) onAnalysis(static_cast<double>(consumed_) / kInputRate);
    }
}
