#pragma once

#include <functional>
#include <vector>

#include "audio/InputPath.h"

class AnalysisFrame;
class PitchAnalyser;

// The tuner's input path for sound that did not come from a device: 44100 Hz mono in buffers
// of 512 frames, each low-passed and reduced by four and handed to the analysis frame store,
// which cuts a 2048-sample frame every 128 samples; the analyser then analyses every frame.
class TunerInputPath {
public:
    static constexpr double kInputRate = 44100.0;
    static constexpr int kBufferFrames = 512;
    static constexpr int kReduction = Decimator::kTunerFactor;
    static constexpr int kFrameSize = 2048;
    static constexpr int kHop = 128;

    // Called after each analysis with the time (s) of the end of the input consumed so far.
    using OnAnalysis = std::function<void(double seconds)>;

    TunerInputPath(AnalysisFrame& frames, PitchAnalyser& analyser);

    // Feeds whole buffers; a last part-buffer is kept until more samples arrive.
    void Feed(const float* samples, int count, const OnAnalysis& onAnalysis);
    void Feed(const std::vector<float>& samples, const OnAnalysis& onAnalysis) {
        Feed(samples.data(), static_cast<int>(samples.size()), onAnalysis);
    }

private:
    AnalysisFrame& frames_;
    PitchAnalyser& analyser_;
    Decimator decimator_;
    std::vector<float> buffer_;
    std::size_t pending_ = 0;
    long long consumed_ = 0;  // input frames
};
