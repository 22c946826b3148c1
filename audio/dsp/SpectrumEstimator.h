#pragma once

#include <vector>

#include "audio/dsp/Fft.h"
#include "audio/dsp/TemplateTable.h"

// Turns one frame of audio into its magnitude spectrum and an estimate of the fundamental
// frequency, to a small fraction of a bin: a harmonic vote over the spectrum's prominent peaks
// finds the fundamental's bin, an octave check guards the plain strongest peak when the vote
// fails, and matching the window's spectral shape places the frequency within the bin.
class SpectrumEstimator {
public:
    // Frame sizes of 2048 with a resolution coarser than 1/550 of a bin get 550 sub-bin steps.
    static constexpr int kTunerFrameSize = 2048;
    static constexpr int kTunerSubBinSteps = 550;
    static constexpr int kMaxSubBinSteps = 4096;

    // Prepares window, FFT tables and templates for frames of `frameSize` samples, releasing
    // any previous configuration. Needs a power of two of at least 16, a positive rate and a
    // positive resolution; otherwise the estimator stays unconfigured and returns false.
    // Without real input the frame is analysed by a full-size complex FFT instead of the
    // half-size one with the split pass; the result is the same.
    bool Configure(int frameSize, bool realInput, float resolution, float sampleRate,
                   float minimumFrequency, int windowId);

    // Analyses the first FrameSize() samples of `frame` and returns the frequency in Hz, or -1
    // when the estimator is not configured. `spectrum` (which may be `frame` itself) then
    // holds FrameSize() values: the Bins() magnitudes followed by zeros.
    float EstimateFrequency(const float* frame, float* spectrum);

    bool IsConfigured() const { return configured_; }
    int FrameSize() const { return frameSize_; }
    int Bins() const { return bins_; }
    int SubBinSteps() const { return templates_.Rows(); }
    int HalfWidth() const { return halfWidth_; }
    float BinWidth() const { return sampleRate_ / static_cast<float>(2 * bins_); }
    const std::vector<float>& Window() const { return window_; }
    const TemplateTable& Templates() const { return templates_; }
    // The magnitude spectrum of the last frame, Bins() values.
    const std::vector<float>& Spectrum() const { return spectrum_; }

    // The frequency of a tone whose spectral peak is at `bin`, placed within the bin by the
    // templates.
    float InterpolatedFrequency(int bin) const;

private:
    void ComputeSpectrum(const float* frame);
    float EstimateFromSpectrum();
    // The fundamental's bin spacing when enough peaks agree on one, else -1.
    int HarmonicVote(int top);
    // The strongest peak, or a prominent peak an octave below it that is not much weaker.
    int OctaveCheck(int top);
    bool Prominent(int bin) const;
    float At(int bin) const;

    bool configured_ = false;
    bool realInput_ = true;
    int frameSize_ = 0;
    int bins_ = 0;
    int halfWidth_ = 0;
    float sampleRate_ = 0.0f;
    std::vector<float> window_;
    TemplateTable templates_;
    RealFft realFft_;
    ComplexFft complexFft_;
    std::vector<float> windowed_;
    std::vector<Complex> transform_;
    std::vector<float> spectrum_;
    std::vector<float> scratch_;
};
