#include "metronome/TapTempo.h"

#include <algorithm>
#include <cmath>
#include <vector>

int TapTempo::Tap(double seconds) {
    if (!taps_.empty() && (seconds - taps_.back() > kLongestPause || seconds <= taps_.back()))
        taps_.clear();
    taps_.push_back(seconds);
    if (taps_.size() > kIntervals + 1) taps_.pop_front();
    if (taps_.size() < 2) return 0;
    std::vector<double> intervals;
    for (std::size_t i = 1; i < taps_.size(); ++i) intervals.push_back(taps_[i] - taps_[i - 1]);
    std::sort(intervals.begin(), intervals.end());
    const std::size_t middle = intervals.size() / 2;
    const double median = intervals.size() % 2 ? intervals[middle]
                                               : (intervals[middle - 1] + intervals[middle]) / 2.0;
    const long bpm = std::lround(60.0 / median);
    return static_cast<int>(
        std::clamp<long>(bpm, MetronomeChoices::kSlowestBpm, MetronomeChoices::kFastestBpm));
}
