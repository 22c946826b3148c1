#include "audio/dsp/HarmonicCheck.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "audio/dsp/SpectrumEstimator.h"

namespace {

constexpr float kTopHertz = 5000.0f;        // partials above are too few and too weak to judge by
constexpr float kSignificantRatio = 3.98f;  // 12 dB: a peak's height over the spectrum's median
constexpr float kRangeRatio = 3.16e-3f;     // 50 dB below the strongest peak, nothing counts
constexpr int kFloorStride = 4;
constexpr std::size_t kMaxPeaks = 128;
constexpr int kMaxNumber = 48;  // partials scored
constexpr int kMaxDivisor = 6;
constexpr int kSourcePeaks = 3;  // the strongest peaks whose fractions are candidates
// A position holds a partial fully when its peak's weight is this share of the candidate's
// strongest (about 20 dB below it in magnitude), not at all below the second share (about
// 40 dB below: noise, say a hammer's, not a partial), in proportion between.
constexpr float kHeldShare = 0.3f;
constexpr float kNoShare = 0.1f;
// The partials are followed up the series, each expected at its number times the spacing of the
// one before, so a string's stretched overtones are followed; the spacing may drift this far
// from the candidate. A partial may stray from where it is expected by this share of its
// frequency, at least half a bin and at most a quarter of the candidate.
constexpr float kDrift = 0.04f;
constexpr float kStray = 0.015f;
constexpr float kMaxStray = 0.25f;
// How much better another candidate must score to displace the preferred one, or the estimate.
constexpr float kKeepPreferred = 1.35f;
constexpr float kKeepEstimate = 1.15f;

// Whether a and b are the same fundamental, within a quarter-tone.
bool Same(float a, float b) {
    return std::fabs(a - b) <= 0.03f * std::max(a, b);
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

    // The floor is the median of every fourth bin: as good a floor, at a quarter of the cost.
    scratch_.clear();
    for (int k = lo; k < hi; k += kFloorStride) scratch_.push_back(spectrum[k]);
    auto middle = scratch_.begin() + static_cast<long>(scratch_.size() / 2);
    std::nth_element(scratch_.begin(), middle, scratch_.end());
    const float floor = *middle;
    const float strongest = *std::max_element(spectrum.begin() + lo, spectrum.begin() + hi);
    const float threshold = std::max(floor * kSignificantRatio, strongest * kRangeRatio);

    for (int k = lo; k < hi && peaks_.size() < kMaxPeaks; ++k) {
        const float m = spectrum[k];
        if (!(m > spectrum[k - 1] && m >= spectrum[k + 1] && m > threshold)) continue;
        // The peak's centre from a parabola through it and its neighbours: close enough for
        // matching partials, which allows half a bin, and cheaper than one through logarithms.
        const float a = spectrum[k - 1], b = m, c = spectrum[k + 1];
        const float curve = a - 2.0f * b + c;
        const float offset = curve < 0.0f ? std::clamp(0.5f * (a - c) / curve, -0.5f, 0.5f) : 0.0f;
        const float weight = std::sqrt(m / strongest);
        peaks_.push_back({k, (static_cast<float>(k) + offset) * binWidth, weight});
        totalWeight_ += weight;
    }
}

float HarmonicCheck::Score(float candidate, int* partial) const {
    if (!(candidate >= kLowest) || totalWeight_ <= 0.0f) return 0.0f;
    // The weight of the peak on each partial position.
    float held[kMaxNumber + 1] = {};
    int highest = 0;
    float explained = 0.0f, strongest = 0.0f;
    float spacing = candidate;
    std::size_t next = 0;  // the peaks are in ascending frequency
    for (int n = 1; n <= kMaxNumber && next < peaks_.size(); ++n) {
        const float expected = spacing * static_cast<float>(n);
        const float reach =
            std::min(kMaxStray * candidate, std::max(0.5f * binWidth_, kStray * expected));
        while (next < peaks_.size() && peaks_[next].hertz < expected - reach) ++next;
        int found = -1;
        for (std::size_t i = next; i < peaks_.size() && peaks_[i].hertz <= expected + reach; ++i)
            if (found < 0 || peaks_[i].weight > peaks_[static_cast<std::size_t>(found)].weight)
                found = static_cast<int>(i);
        if (found < 0) continue;
        const Peak& p = peaks_[static_cast<std::size_t>(found)];
        next = static_cast<std::size_t>(found) + 1;
        explained += p.weight;
        held[n] = p.weight;
        highest = n;
        spacing = std::clamp(p.hertz / static_cast<float>(n), candidate * (1.0f - kDrift),
                             candidate * (1.0f + kDrift));
        if (p.weight > strongest) {
            strongest = p.weight;
            if (partial) *partial = found;
        }
    }
    // A fundamental that neither it nor its octave sounds is the common subharmonic of a
    // mixture (two notes at once, a choir) rather than a note.
    if (highest == 0 || (held[1] <= 0.0f && held[2] <= 0.0f)) return 0.0f;
    // The fundamental's own position counts twice: a mixture of two notes is explained by a
    // common subharmonic that neither note sounds.
    auto credit = [strongest](float weight) {
        return std::clamp((weight / strongest - kNoShare) / (kHeldShare - kNoShare), 0.0f, 1.0f);
    };
    float occupied = credit(held[1]);
    for (int n = 1; n <= highest; ++n) occupied += credit(held[n]);
    return explained / totalWeight_ * occupied / static_cast<float>(highest + 1);
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
    // Whole ratios of the estimate first: they win ties.
    consider(estimate);
    consider(2.0f * estimate);
    for (int d = 2; d <= kMaxDivisor; ++d) consider(estimate / static_cast<float>(d));
    std::array<std::size_t, kSourcePeaks> strongest{};
    std::size_t sources = 0;
    for (std::size_t i = 0; i < peaks_.size(); ++i) {
        std::size_t at = std::min<std::size_t>(sources, kSourcePeaks);
        while (at > 0 && peaks_[strongest[at - 1]].weight < peaks_[i].weight) {
            if (at < kSourcePeaks) strongest[at] = strongest[at - 1];
            --at;
        }
        if (at < kSourcePeaks) strongest[at] = i;
        sources = std::min<std::size_t>(sources + 1, kSourcePeaks);
    }
    for (std::size_t s = 0; s < sources; ++s)
        for (int d = 1; d <= kMaxDivisor; ++d)
            consider(peaks_[strongest[s]].hertz / static_cast<float>(d));
    if (preferred > 0.0f) consider(preferred);

    if (preferredScore > 0.0f && bestScore < kKeepPreferred * preferredScore)
        best = atPreferred;
    else if (bestScore < kKeepEstimate * atEstimate)
        return estimate;

    if (Same(best, estimate)) return estimate;
    if (Same(best, 2.0f * estimate)) return 2.0f * estimate;
    for (int d = 2; d <= kMaxDivisor; ++d)
        if (Same(best, estimate / static_cast<float>(d))) return estimate / static_cast<float>(d);
    int partial = -1;
    Score(best, &partial);
    if (partial < 0) return estimate;
    const Peak& p = peaks_[static_cast<std::size_t>(partial)];
    return estimator.InterpolatedFrequency(p.bin) / std::round(p.hertz / best);
}
