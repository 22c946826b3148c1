#include "metronome/ClickSynthesis.h"

#include <algorithm>
#include <cmath>

#include "audio/AudioFile.h"
#include "audio/BarBuffer.h"
#include "audio/Rounding.h"

namespace {
constexpr int kFadeSamples = 100;
constexpr float kOneSixtieth = 0.016666668f;  // 1/60 in single precision
constexpr float kMillisecond = 0.001f;

void FadeOutTail(std::vector<float>& click) {
    const int length = static_cast<int>(click.size());
    for (int i = 0; i < kFadeSamples && length - 1 - i >= 0; ++i)
        click[static_cast<std::size_t>(length - 1 - i)] *= static_cast<float>(i) / 100.0f;
}
}  // namespace

ClickGenerator ToneClick(float frequency) {
    return [frequency](std::vector<float>& out, int sampleRate, float maxLengthMs) {
        SynthesiseTone(frequency, maxLengthMs, sampleRate, out,
                       [](float angle) { return std::sin(angle); });
    };
}

ClickGenerator SampleClick(const std::string& path) {
    return [path](std::vector<float>& out, int sampleRate, float maxLengthMs) {
        LoadAudioFile(path, out, maxLengthMs, sampleRate);
    };
}

int BeatPeriodMs(int bpm) {
    // A tempo of 0 would divide by zero and make a beat of no defined length.
    bpm = std::max(bpm, 1);
    // The whole expression stays in extended precision; only the constant is single.
    const long double beatsPerSecond = static_cast<long double>(bpm) * kOneSixtieth;
    return static_cast<int>(Nearest(1000.0L / beatsPerSecond));
}

int BeatSampleCount(int sampleRate, int bpm) {
    const float period = static_cast<float>(BeatPeriodMs(bpm));
    return static_cast<int>(Nearest(static_cast<long double>(sampleRate) * period *
                                    static_cast<long double>(kMillisecond)));
}

void BuildBeat(std::vector<float>& out, int sampleRate, int bpm, const ClickGenerator& click) {
    const int period = BeatPeriodMs(bpm);
    out.resize(static_cast<std::size_t>(std::max(BeatSampleCount(sampleRate, bpm), 0)));
    std::vector<float> sound;
    if (click) click(sound, sampleRate, static_cast<float>(period) / 2.0f);
    FadeOutTail(sound);
    std::fill(out.begin(), out.end(), 0.0f);
    std::copy_n(sound.begin(), std::min(sound.size(), out.size()), out.begin());
}

void BuildBar(BarBuffer& bar, int bpm, int beats, const ClickGenerator& normal,
              const ClickGenerator& accent) {
    beats = std::max(beats, 1);
    std::vector<float> normalBeat, accentBeat;
    BuildBeat(normalBeat, kBarSampleRate, bpm, normal);
    BuildBeat(accentBeat, kBarSampleRate, bpm, accent);
    const std::size_t n = normalBeat.size();
    std::vector<float> samples(n * static_cast<std::size_t>(beats));
    for (int beat = 0; beat < beats - 1; ++beat)
        std::copy(
            normalBeat.begin(), normalBeat.end(),
            samples.begin() + static_cast<std::ptrdiff_t>(n * static_cast<std::size_t>(beat)));
    std::copy_n(
        accentBeat.begin(), std::min(n, accentBeat.size()),
        samples.begin() + static_cast<std::ptrdiff_t>(n * static_cast<std::size_t>(beats - 1)));
    bar.Replace(samples);
}
