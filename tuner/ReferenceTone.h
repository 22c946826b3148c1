#pragma once

#include <vector>

// The tuner's reference tone: a sine at the target, rendered so that its end joins its start
// without a click when the device loops it.
namespace ReferenceTone {

constexpr int kSampleRate = 44100;
constexpr long long kLongest = 441000;  // 10 s

// The first sample (1 to 998) at which the sine is within 0.009 of zero and rising, which makes
// the samples before it one seamless loop; 0 when there is none (periods over 999 samples).
long long LoopLength(float frequency);
// As many whole loops as fit in 10 s, or 10 s without a loop.
long long SampleCount(float frequency);
// The tone, SampleCount(frequency) samples long: the loop repeated.
void Render(float frequency, std::vector<float>& out);

}  // namespace ReferenceTone
