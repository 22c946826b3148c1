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

// One bar into `bar`: beats-1 normal beats, then the accented one. Fewer than one beat is one.
void BuildBar(BarBuffer& bar, int bpm, int beats, const ClickGenerator& normal,
              const ClickGenerator& accent);
