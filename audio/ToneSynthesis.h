#pragma once

#include <functional>
#include <vector>

using Waveform = std::function<float(float angle)>;

// `length` ms of `waveform` at `frequency`, from phase 0, at most 10 s.
void SynthesiseTone(float frequency, float length, int sampleRate, std::vector<float>& out,
                    const Waveform& waveform);
// Exactly `count` samples of the same (at most 10 s).
void SynthesiseToneSamples(float frequency, long long count, int sampleRate,
                           std::vector<float>& out, const Waveform& waveform);
