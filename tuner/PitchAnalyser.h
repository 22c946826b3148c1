#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <limits>
#include <vector>

#include "audio/dsp/HarmonicCheck.h"
#include "audio/dsp/SpectrumEstimator.h"
#include "tuner/PitchFilters.h"

class AnalysisFrame;
class AppSettings;

// The frequency of the note at the input, steady enough to drive a tuning needle. The audio
// thread only deposits samples; analysis runs on the GUI thread, lazily, when a display asks,
// over every frame that has arrived since: a level gate, the spectrum estimate, a check of its
// octave against the spectrum's partials, then the jump and average filters.
class PitchAnalyser {
public:
    // Full-scale gain of the input line's volume control; the mixer supplies the real one.
    using GainSource = std::function<double()>;
    static constexpr double kNominalGain = 32768.0;
    static constexpr float kSampleRate = 11025.0f;
    static constexpr float kResolution = 0.01f;        // Hz
    static constexpr float kMinimumFrequency = 16.0f;  // Hz

    // Frames from the process's analysis frame store, gate settings from AppSettings.
    PitchAnalyser();
    PitchAnalyser(AnalysisFrame& frames, AppSettings& settings);
    PitchAnalyser(const PitchAnalyser&) = delete;
    PitchAnalyser& operator=(const PitchAnalyser&) = delete;

    // The current (smoothed) frequency in Hz, after analysing the newly arrived frames; 0 until
    // the first estimate.
    float GetFrequency();
    // The analysed array after the same refresh: the magnitude spectrum when the last frame
    // passed the level gate, else the frame itself.
    const std::vector<float>& GetWork();
    bool HasNewFrame() const;
    // When the input's next piece should arrive (see AnalysisFrame::NextPieceDue).
    std::chrono::steady_clock::time_point NextPieceDue() const;

    // One analysis of `x`, which is overwritten with its spectrum when the gate passes.
    void Analyse(std::vector<float>& x);

    // Analyses done so far, gated or not; displays compare it with the count they last drew.
    int AnalysisCount() const { return analysisCount_; }
    // The estimator's frequency before the filters for the last analysis; 0 when the gate
    // rejected that frame or it gave no usable estimate.
    float LastEstimate() const { return lastEstimate_; }
    // The fundamental the octave check made of it (0 as above).
    float LastFundamental() const { return lastFundamental_; }
    bool LastPassedGate() const { return lastPassedGate_; }
    // The gate's level of the last frame analysed (NaN before the first or for a bad frame).
    double LastLevel() const { return lastLevel_; }

    // A source giving no usable gain (an input line without a volume control reports -1)
    // means the nominal gain, so the tuner keeps listening.
    void SetGainSource(GainSource source) { gainSource_ = std::move(source); }
    double InputGain() const;
    // The gate's level of a frame: (20 log10(rms * gain) - floor) / span * span, with the
    // frame's mean removed first; NaN for frames with non-finite samples.
    double Level(const std::vector<float>& x) const;
    bool PassesGate(const std::vector<float>& x) const;

    const SpectrumEstimator& Estimator() const { return estimator_; }

private:
    void Refresh();
    bool EnsureConfigured(int frameSize);
    // Whether a frame at `level` belongs to the fading tail of the note shown, where other
    // sounds (a sample's hum, a neighbouring string) outlast it.
    bool InTail(double level);

    AnalysisFrame& frames_;
    AppSettings& settings_;
    std::vector<float> work_;
    float currentFrequency_ = 0.0f;
    float lastEstimate_ = 0.0f;
    float lastFundamental_ = 0.0f;
    bool lastPassedGate_ = false;
    double lastLevel_ = std::numeric_limits<double>::quiet_NaN();
    SpectrumEstimator estimator_;
    HarmonicCheck harmonicCheck_;
    DisplayFilter displayFilter_;
    double noteLevel_ = -1e9;  // the loudest recent level, falling slowly
    std::array<double, 4> recentLevels_{-1e9, -1e9, -1e9, -1e9};  // of the last frames
    std::size_t recentAt_ = 0;
    int analysisCount_ = 0;
    GainSource gainSource_;
};

PitchAnalyser& DllPitchAnalyserInstance();
