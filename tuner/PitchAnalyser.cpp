#include "tuner/PitchAnalyser.h"

#include <algorithm>
#include <cmath>

#include "audio/AnalysisFrame.h"
#include "audio/dsp/Window.h"
#include "pym/base/Singleton.h"
#include "settings/AppSettings.h"

PitchAnalyser::PitchAnalyser()
    : PitchAnalyser(DllAnalysisFrameInstance(), DllAppSettingsInstance()) {}

PitchAnalyser::PitchAnalyser(AnalysisFrame& frames, AppSettings& settings)
    : frames_(frames), settings_(settings) {}

void PitchAnalyser::Refresh() {
    // Every frame since the last request: the filters count frames.
    while (frames_.TakeIfNew(work_)) Analyse(work_);
}

float PitchAnalyser::GetFrequency() {
    Refresh();
    return currentFrequency_;
}

const std::vector<float>& PitchAnalyser::GetWork() {
    Refresh();
    return work_;
}

bool PitchAnalyser::HasNewFrame() const {
    return frames_.HasNewFrame();
}

std::chrono::steady_clock::time_point PitchAnalyser::NextPieceDue() const {
    return frames_.NextPieceDue(kSampleRate);
}

double PitchAnalyser::InputGain() const {
    double gain = gainSource_ ? gainSource_() : kNominalGain;
    return gain > 0.0 && std::isfinite(gain) ? gain : kNominalGain;
}

double PitchAnalyser::Level(const std::vector<float>& x) const {
    if (x.empty()) return std::nan("");
    double mean = 0.0;
    for (float v : x) mean += v;
    mean /= static_cast<double>(x.size());
    double power = 0.0;
    for (float v : x) power += (v - mean) * (v - mean);
    const double rms = std::sqrt(power / static_cast<double>(x.size()));
    const double span = settings_.levelSpan;
    return (20.0 * std::log10(rms * InputGain()) - settings_.levelFloor) / span * span;
}

bool PitchAnalyser::PassesGate(const std::vector<float>& x) const {
    return Level(x) > settings_.levelThreshold;  // false for NaN
}

bool PitchAnalyser::EnsureConfigured(int frameSize) {
    // Configured from the first frame; a frame of another length (never seen from the input
    // path) configures afresh rather than being read past its end.
    if (estimator_.IsConfigured() && estimator_.FrameSize() == frameSize) return true;
    return estimator_.Configure(frameSize, true, kResolution, kSampleRate, kMinimumFrequency,
                                kWindowDolphChebyshev);
}

namespace {

// A frame this far below the note's loudest is its tail: it may refine the note, not replace it.
constexpr double kTailDb = 25.0;
// How fast the remembered loudness falls per frame (about 3 dB a second).
constexpr double kReleaseDb = 0.035;
// A rise this steep over the last frames is a new note, however quiet: it is heard in full.
constexpr double kOnsetDb = 6.0;

}  // namespace

bool PitchAnalyser::InTail(double level) {
    const double before = recentLevels_[recentAt_];
    recentLevels_[recentAt_] = level;
    recentAt_ = (recentAt_ + 1) % recentLevels_.size();
    if (level > before + kOnsetDb) noteLevel_ = level;
    noteLevel_ = std::max(level, noteLevel_ - kReleaseDb);
    return level < noteLevel_ - kTailDb;
}

void PitchAnalyser::Analyse(std::vector<float>& x) {
    if (x.empty()) return;
    const bool usable = EnsureConfigured(static_cast<int>(x.size()));
    const double level = Level(x);
    lastLevel_ = level;
    lastPassedGate_ = level > settings_.levelThreshold;  // false for NaN
    lastEstimate_ = 0.0f;
    lastFundamental_ = 0.0f;
    if (lastPassedGate_ && usable) {
        const float estimate = estimator_.EstimateFrequency(x.data(), x.data());
        // -1 means no estimate; anything not a positive number is never shown.
        if (estimate > 0.0f && std::isfinite(estimate)) {
            lastEstimate_ = estimate;
            lastFundamental_ = harmonicCheck_.Fundamental(estimator_, estimate, currentFrequency_);
            const bool tail = InTail(level);
            if (!tail ||
                CentsBetween(lastFundamental_, currentFrequency_) < DisplayFilter::kNoteCents)
                currentFrequency_ = static_cast<float>(displayFilter_(lastFundamental_));
        }
    }
    ++analysisCount_;
}

PitchAnalyser& DllPitchAnalyserInstance() {
    return Pym::Singleton<PitchAnalyser>::Instance();
}
