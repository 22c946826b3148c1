#pragma once

#include <vector>

class SpectrumEstimator;

// Checks which fundamental the spectrum of a frame really has, given the estimator's answer.
// The estimator finds a frequency precisely but can name a partial of the note instead of its
// fundamental (an octave or a twelfth up when the fundamental is weak), or land an octave below
// it, or take its answer from noise when the note is low and its fundamental missing. The
// candidates are the estimate, its double and its fractions down to a sixth, the same fractions
// of the strongest peaks, and the fundamental of the frames before; each is scored by the share of
// the spectrum's peaks that lie on its partials times the share of its partial positions that hold
// a peak. A lower candidate must therefore show real partials between the estimate's, and a higher
// one must explain the peaks it would leave out.
class HarmonicCheck {
public:
    // The lowest fundamental considered, Hz.
    static constexpr float kLowest = 20.0f;

    // The fundamental for the spectrum the estimator computed last. It keeps the estimator's
    // precision: `estimate` or a whole ratio of it, else the estimator's interpolation of the
    // strongest partial divided by its number. `preferred` (0 for none) is the
    // fundamental of the frames before: a candidate there wins unless another is clearly
    // better, so the octave sticks across frames.
    float Fundamental(const SpectrumEstimator& estimator, float estimate, float preferred);

private:
    struct Peak {
        int bin;
        float hertz;
        float weight;  // the magnitude, compressed so that weak partials still count
    };

    void FindPeaks(const std::vector<float>& spectrum, float binWidth);
    // The share of peak weight on the candidate's partials times the share of its positions
    // held; `partial` is set to the index of its strongest matched peak.
    float Score(float candidate, int* partial = nullptr) const;

    std::vector<Peak> peaks_;
    std::vector<float> scratch_;
    float totalWeight_ = 0.0f;
    float binWidth_ = 0.0f;
};
