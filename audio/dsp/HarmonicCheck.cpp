#include "audio/dsp/HarmonicCheck.h"

#include <algorithm>
#include <cmath>

#include "audio/dsp/SpectrumEstimator.h"

namespace {

constexpr float kTopHertz = 5000.0f;     // partials above are too few and too weak to judge by
constexpr float kSignificantDb = 12.0f;  // a peak's height over the spectrum's median
constexpr float kRangeDb = 50.0f;        // below the strongest peak, nothing counts
constexpr std::size_t kMaxPeaks = 128;
constexpr int kMaxNumber = 48;  // partial numbers scored
constexpr int kMaxDivisor = 6;
// A position holds a partial fully when its peak's weight is this share of the candidate's
// strongest (about 20 dB below it in magnitude), in proportion below.
constexpr float kHeldShare = 0.3f;
// Share of a partial's number by which it may stray from the harmonic series (a string's
// stretched overtones, vibrato), and the most it may stray as a share of the candidate.
constexpr float kStray = 0.03f;
constexpr float kMaxStray = 0.25f;
// How much better another candidate must score to displace the preferred one, or the estimate.
constexpr float kKeepPreferred = 1.35f;
constexpr float kKeepEstimate = 1.15f;

float Decibels(float magnitude) {
    return 20.0f * std::log10(std::max(magnitude, 1e-30f));
}

// Whether a and b are the same fundamental within the stray allowed.
bool Same(float a, float b) {
    return std::fabs(a - b) <= kStray * std::max(a, b);
}

}  // namespace

void HarmonicCheck::FindPeaks(const std::vector<float>& spectrum, float binWidth) {
    binWidth_ = binWidth;
    peaks_.clear();
    totalWeight_ = 0.0f;
    const int lo = std::max(2, static_cast<int>(kLowest / binWidth));
    const int hi =
        std::min(static_cast<int>(spectrum.size()) - 1, static_cast<int>(kTopHertz / binWidth));
    if (hi - lo < 4) return;

    scratch_.assign(spectrum.begin() + lo, spectrum.begin() + hi);
    auto middle = scratch_.begin() + static_cast<long>(scratch_.size() / 2);
    std::nth_element(scratch_.begin(), middle, scratch_.end());
    const float floor = *middle;
    const float strongest = *std::max_element(middle, scratch_.end());
    const float threshold = std::max(floor * std::pow(10.0f, kSignificantDb / 20.0f),
                                     strongest * std::pow(10.0f, -kRangeDb / 20.0f));

    for (int k = lo; k < hi && peaks_.size() < kMaxPeaks; ++k) {
        const float m = spectrum[k];
        if (!(m > spectrum[k - 1] && m >= spectrum[k + 1] && m > threshold)) continue;
        // The peak's centre from a parabola through the logarithms of its neighbours.
        const float a = Decibels(spectrum[k - 1]), b = Decibels(m), c = Decibels(spectrum[k + 1]);
        const float curve = a - 2.0f * b + c;
        const float offset = curve < 0.0f ? std::clamp(0.5f * (a - c) / curve, -0.5f, 0.5f) : 0.0f;
        const float weight = std::sqrt(m / strongest);
        peaks_.push_back({(static_cast<float>(k) + offset) * binWidth, weight});
        totalWeight_ += weight;
    }
}

float HarmonicCheck::Score(float candidate) const {
    if (!(candidate >= kLowest) || totalWeight_ <= 0.0f) return 0.0f;
    // The weight of the peak on each partial position.
    float held[kMaxNumber + 1] = {};
    int highest = 0;
    float explained = 0.0f, strongest = 0.0f;
    for (const Peak& p : peaks_) {
        const int n = static_cast<int>(std::lround(p.hertz / candidate));
        if (n < 1 || n > kMaxNumber) continue;
        const float reach =
            std::min(kMaxStray * candidate, std::max(0.5f * binWidth_, kStray * n * candidate));
        if (std::fabs(p.hertz - n * candidate) > reach) continue;
        explained += p.weight;
        held[n] = std::max(held[n], p.weight);
        highest = std::max(highest, n);
        strongest = std::max(strongest, p.weight);
    }
    if (highest == 0) return 0.0f;
    float occupied = 0.0f;
    for (int n = 1; n <= highest; ++n)
        occupied += std::min(1.0f, held[n] / (kHeldShare * strongest));
    return explained / totalWeight_ * occupied / static_cast<float>(highest);
}

float HarmonicCheck::Fundamental(const SpectrumEstimator& estimator, float estimate,
                                 float preferred) {
    if (!(estimate > 0.0f) || !std::isfinite(estimate)) return estimate;
    FindPeaks(estimator.Spectrum(), estimator.BinWidth());
    if (peaks_.empty()) return estimate;

    const float atEstimate = Score(estimate);
    float best = estimate, bestScore = atEstimate;
    float atPreferred = 0.0f, preferredScore = -1.0f;
    auto consider = [&](float candidate) {
        const float score = Score(candidate);
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
        if (preferred > 0.0f && Same(candidate, preferred) && score > preferredScore) {
            atPreferred = candidate;
            preferredScore = score;
        }
    };
    consider(estimate);
    consider(2.0f * estimate);
    for (int d = 2; d <= kMaxDivisor; ++d) consider(estimate / static_cast<float>(d));

    if (preferredScore > 0.0f && bestScore < kKeepPreferred * preferredScore) return atPreferred;
    if (bestScore < kKeepEstimate * atEstimate) return estimate;
    return best;
}
