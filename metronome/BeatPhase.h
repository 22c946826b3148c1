#pragma once

// Where the sound heard is within the current beat and the current bar, from the output's
// sounding time and the tempo and accent of the settings: what the beat displays read. Both are
// in [0, 1), 0 at a click (the bar's at the accented click, the last of the rendered bar), and
// exactly 1 while nothing plays.
//
// The beat is as long as the rendered one (BeatSampleCount), not 60 / BPM: at 114 BPM those
// differ by a third of a millisecond a beat, which would carry the displays off the clicks by a
// tenth of a second within five minutes.
float BeatPhase();
float BarPhase();

// While one lives, the phases come from one reading of the sound heard: the displays refreshed
// together show one moment, and ask the stream's clock once.
class HeardMoment {
public:
    HeardMoment();
    ~HeardMoment();
    HeardMoment(const HeardMoment&) = delete;
    HeardMoment& operator=(const HeardMoment&) = delete;
};

// The beats of a bar that the displays count: the accent, at least 1.
int BeatsPerBar();

// Seconds of one beat at `bpm`, as the bar is rendered.
double BeatSeconds(int bpm);

// The beat light's value: 1 at a click, falling to 0 at the next, 0 while stopped.
struct BeatValueFunctor {
    float operator()() const { return 1.0f - BeatPhase(); }
};
