#pragma once

#include <deque>

#include "metronome/MetronomeChoices.h"

// The tempo of taps: 60 / the median of the last (up to four) intervals between them, in
// whole beats per minute within the metronome's range. A pause of more than two seconds
// starts a new count.
class TapTempo {
public:
    static constexpr double kLongestPause = 2.0;
    static constexpr std::size_t kIntervals = 4;

    // A tap at `seconds` on any steady clock; the tempo once there are two taps, else 0.
    int Tap(double seconds);

private:
    std::deque<double> taps_;
};
