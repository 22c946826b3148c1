#include "audio/dsp/SpectrumEstimator.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "audio/dsp/PeakSearch.h"
#include "audio/dsp/Window.h"

namespace {

float Decibels(float magnitude) {
    return 20.0f * std::log10(magnitude);
}

// Counts of bin spacings where keys within two bins of each other are one entry; a value joins
// the first entry (in key order) within reach, else starts its own.
class SpacingHistogram {
public:
    struct Entry {
        int key;
        int count;
    };
    static constexpr int kReach = 2;

    void Vote(int value) {
        if (Entry* entry = Near(value)) {
            ++entry->count;
            return;
        }
        auto at = std::find_if(entries_.begin(), entries_.end(),
                               [value](const Entry& e) { return e.key > value; });
        entries_.insert(at, Entry{value, 1});
    }
    Entry* Near(int value) {
        for (Entry& entry : entries_)
            if (std::abs(entry.key - value) <= kReach) return &entry;
        return nullptr;
    }
    Entry* Exactly(int key) {
        for (Entry& entry : entries_)
            if (entry.key == key) return &entry;
        return nullptr;
    }
    std::vector<Entry>& Entries() { return entries_; }

private:
    std::vector<Entry> entries_;  // ascending keys
};

constexpr int kMaxPeaksAboveTop = 7;
constexpr int kProminenceOffset = 3;
constexpr float kProminenceDb = 5.0f;
constexpr float kOctaveDb = 15.0f;
constexpr int kMinimumVotes = 3;

}  // namespace

bool SpectrumEstimator::Configure(int frameSize, bool realInput, float resolution, float sampleRate,
                                  float minimumFrequency, int windowId) {
    *this = SpectrumEstimator();
    if (frameSize < 16 || !IsPowerOfTwo(frameSize) || !(sampleRate > 0.0f) ||
        !(resolution > 0.0f) || !std::isfinite(sampleRate) || !std::isfinite(resolution))
        return false;

    frameSize_ = frameSize;
    bins_ = frameSize / 2;
    realInput_ = realInput;
    sampleRate_ = sampleRate;
    window_ = MakeWindow(windowId, frameSize);

    double steps = std::trunc(static_cast<double>(sampleRate) / frameSize / resolution);
    if (frameSize == kTunerFrameSize && steps < kTunerSubBinSteps) steps = kTunerSubBinSteps;
    int rows = static_cast<int>(std::clamp(steps, 1.0, static_cast<double>(kMaxSubBinSteps)));
    templates_ = TemplateTable(window_, frameSize, rows);

    float width = std::isfinite(minimumFrequency) ? std::round(minimumFrequency / BinWidth()) : 0;
    halfWidth_ = static_cast<int>(std::clamp(width, 0.0f, static_cast<float>(bins_)));

    if (realInput)
        realFft_ = RealFft(frameSize);
    else
        complexFft_ = ComplexFft(frameSize);
    windowed_.resize(static_cast<std::size_t>(frameSize));
    transform_.resize(static_cast<std::size_t>(realInput ? bins_ : frameSize));
    spectrum_.resize(static_cast<std::size_t>(bins_));
    scratch_.reserve(static_cast<std::size_t>(bins_));
    configured_ = true;
    return true;
}

float SpectrumEstimator::EstimateFrequency(const float* frame, float* spectrum) {
    if (!configured_ || templates_.Empty()) return -1.0f;
    ComputeSpectrum(frame);
    std::copy(spectrum_.begin(), spectrum_.end(), spectrum);
    std::fill(spectrum + bins_, spectrum + frameSize_, 0.0f);
    return EstimateFromSpectrum();
}

void SpectrumEstimator::ComputeSpectrum(const float* frame) {
    if (window_.empty())
        std::copy(frame, frame + frameSize_, windowed_.begin());
    else
        std::transform(frame, frame + frameSize_, window_.begin(), windowed_.begin(),
                       std::multiplies<float>());
    if (realInput_) {
        realFft_.Transform(windowed_.data(), transform_.data());
    } else {
        for (int i = 0; i < frameSize_; ++i) transform_[i] = {windowed_[i], 0.0f};
        complexFft_.Transform(transform_.data());
    }
    Magnitudes(transform_.data(), spectrum_.data(), bins_);
}

float SpectrumEstimator::EstimateFromSpectrum() {
    const int top = PeakSearch(spectrum_, 0, bins_, halfWidth_, scratch_).Next();
    if (top < 0) return -1.0f;

    const int spacing = HarmonicVote(top);
    if (spacing > 0) {
        const int peak = At(spacing - 1) >= At(spacing) ? spacing - 1 : spacing;
        return InterpolatedFrequency(peak);
    }

    const int octave = OctaveCheck(top);
    const float strongest = InterpolatedFrequency(top);
    const float lower = octave == top ? strongest : InterpolatedFrequency(octave);
    auto near = [](float value) {
        float whole = std::trunc(value);
        return whole >= -1.0f && whole <= 1.0f;
    };
    return near(2.0f * lower - strongest) || near(3.0f * lower - strongest) ? lower : strongest;
}

int SpectrumEstimator::HarmonicVote(int top) {
    std::vector<int> peaks{top};
    PeakSearch above(spectrum_, top, bins_, halfWidth_, scratch_);
    for (int i = 0; i < kMaxPeaksAboveTop; ++i) {
        int bin = above.Next();
        if (bin < 0 || !Prominent(bin)) break;
        peaks.push_back(bin);
    }
    std::sort(peaks.begin(), peaks.end(), std::greater<int>());

    std::vector<int> spacings;
    for (std::size_t i = 1; i < peaks.size(); ++i) spacings.push_back(peaks[i - 1] - peaks[i]);
    SpacingHistogram histogram;
    for (int s : spacings) histogram.Vote(s);
    for (std::size_t i = 0; i + 1 < spacings.size(); ++i)
        histogram.Vote(spacings[i] + spacings[i + 1]);

    // A top peak that is itself the spacing is the fundamental: its harmonics' spacings count
    // for it.
    if (SpacingHistogram::Entry* fundamental = histogram.Exactly(top)) {
        int gained = 0;
        for (const SpacingHistogram::Entry& entry : histogram.Entries()) {
            if (entry.key <= top + SpacingHistogram::kReach) continue;
            for (int multiple = 2; multiple <= 4; ++multiple)
                if (std::abs(entry.key - multiple * top) <= SpacingHistogram::kReach)
                    gained += entry.count;
        }
        fundamental->count += gained;
    }

    PeakSearch below(spectrum_, 0, bins_ - top, halfWidth_, scratch_);
    below.Next();
    for (int round = 2; round <= 4; ++round) {
        int bin = below.Next();
        if (bin < 0) break;
        if (SpacingHistogram::Entry* entry = histogram.Near(bin)) ++entry->count;
    }

    const SpacingHistogram::Entry* winner = nullptr;
    for (const SpacingHistogram::Entry& entry : histogram.Entries()) {
        if (entry.key > top + SpacingHistogram::kReach) break;
        if (!winner || entry.count > winner->count) winner = &entry;
    }
    return winner && winner->count >= kMinimumVotes ? winner->key : -1;
}

int SpectrumEstimator::OctaveCheck(int top) {
    PeakSearch search(spectrum_, 0, bins_, halfWidth_, scratch_);
    search.Next();
    for (int k = 2; k <= 4; ++k) {
        int candidate = search.Next();
        if (candidate < 0) break;
        if (std::abs(2 * candidate - top) <= 2 && Prominent(candidate) &&
            Decibels(At(top)) - Decibels(At(candidate)) < kOctaveDb)
            return candidate;
    }
    return top;
}

bool SpectrumEstimator::Prominent(int bin) const {
    const float level = Decibels(At(bin));
    return level > Decibels(At(bin - kProminenceOffset)) + kProminenceDb &&
           level > Decibels(At(bin + kProminenceOffset)) + kProminenceDb;
}

float SpectrumEstimator::At(int bin) const {
    return bin >= 0 && bin < bins_ ? spectrum_[bin] : 0.0f;
}

float SpectrumEstimator::InterpolatedFrequency(int bin) const {
    // Start from the lower of the two bins that the true peak lies between.
    if (At(bin + 1) < At(bin - 1)) --bin;
    float nine[TemplateTable::kWidth];
    for (int j = 0; j < TemplateTable::kWidth; ++j)
        nine[j] = At(bin - TemplateTable::kHalfWidth + j);
    const int best = templates_.BestMatch(nine);
    return (static_cast<float>(bin) + static_cast<float>(best) / templates_.Rows()) * BinWidth();
}
