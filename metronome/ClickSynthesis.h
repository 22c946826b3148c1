#pragma once

#include <functional>
#include <string>
#include <vector>

#include "audio/ToneSynthesis.h"

class BarBuffer;

// Replaces `out` with one click of at most `maxLengthMs`.
using ClickGenerator =
    std::function<void(std::vector<float>& out, int sampleRate, float maxLengthMs)>;

constexpr int kBarSampleRate = 44100;

ClickGenerator ToneClick(float frequency);
// A click from a sound file; a file that cannot be read gives no click at all.
ClickGenerator SampleClick(const std::string& path);

// The tempo arithmetic, in the precision whose results users already know: 114 BPM is a
// period of 526 ms and 23197 samples per beat. Tempos below 1 count as 1.
int BeatPeriodMs(int bpm);
int BeatSampleCount(int sampleRate, int bpm);

// One beat: the click (at most half the beat, its last 100 samples faded out) and silence.
void BuildBeat(std::vector<float>& out, int sampleRate, int bpm, const ClickGenerator& click);

// Clicks per beat: 1 (none between the beats), 2 (eighths), 3 (triplets), 4 (sixteenths).
constexpr int kMinSubdivision = 1;
constexpr int kMaxSubdivision = 4;
// How loud a click between the beats is against the beat's own.
constexpr float kSubdivisionLevel = 0.5f;

// What a bar is made of. With a subdivision above 1 the `between` click sounds at
// round(k x beat / subdivision) samples into every beat, and every click lasts at most half
// the distance between two clicks, so that none overlaps the next.
struct BarPattern {
    int bpm = 0;
    int beats = 1;
    int subdivision = kMinSubdivision;
    ClickGenerator normal, accent, between;
};

// The samples of one bar: beats-1 normal beats, then the accented one. Fewer than one beat
// is one.
std::vector<float> RenderBar(const BarPattern& pattern);

// One bar into `bar`, as RenderBar renders it.
void BuildBar(BarBuffer& bar, const BarPattern& pattern);
void BuildBar(BarBuffer& bar, int bpm, int beats, const ClickGenerator& normal,
              const ClickGenerator& accent);
