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

namespace {

// The click as it sounds in a beat: at most `maxLengthMs`, its tail faded out.
std::vector<float> Click(const ClickGenerator& click, int sampleRate, float maxLengthMs) {
    std::vector<float> sound;
    if (click) click(sound, sampleRate, maxLengthMs);
    FadeOutTail(sound);
    return sound;
}

void MixInto(std::vector<float>& beat, std::size_t at, const std::vector<float>& click,
             float level) {
    for (std::size_t i = 0; i < click.size() && at + i < beat.size(); ++i)
        beat[at + i] += level * click[i];
}

// One beat of the pattern with `click` on it and the clicks between the beats after it.
std::vector<float> PatternBeat(const BarPattern& pattern, const ClickGenerator& click) {
    const int subdivision = std::clamp(pattern.subdivision, kMinSubdivision, kMaxSubdivision);
    const int period = BeatPeriodMs(pattern.bpm);
    const float longest = static_cast<float>(period) / 2.0f / static_cast<float>(subdivision);
    const int length = std::max(BeatSampleCount(kBarSampleRate, pattern.bpm), 0);
    std::vector<float> beat(static_cast<std::size_t>(length), 0.0f);
    MixInto(beat, 0, Click(click, kBarSampleRate, longest), 1.0f);
    if (subdivision == 1) return beat;
    const std::vector<float> between = Click(pattern.between, kBarSampleRate, longest);
    for (int k = 1; k < subdivision; ++k)
        MixInto(
            beat,
            static_cast<std::size_t>(Nearest(static_cast<long double>(k) * length / subdivision)),
            between, kSubdivisionLevel);
    return beat;
}

}  // namespace

void BuildBeat(std::vector<float>& out, int sampleRate, int bpm, const ClickGenerator& click) {
    const int period = BeatPeriodMs(bpm);
    out.resize(static_cast<std::size_t>(std::max(BeatSampleCount(sampleRate, bpm), 0)));
    const std::vector<float> sound = Click(click, sampleRate, static_cast<float>(period) / 2.0f);
    std::fill(out.begin(), out.end(), 0.0f);
    std::copy_n(sound.begin(), std::min(sound.size(), out.size()), out.begin());
}

std::vector<float> RenderBar(const BarPattern& pattern) {
    const int beats = std::max(pattern.beats, 1);
    const std::vector<float> normalBeat = PatternBeat(pattern, pattern.normal);
    const std::vector<float> accentBeat = PatternBeat(pattern, pattern.accent);
    std::vector<float> samples;
    samples.reserve(normalBeat.size() * static_cast<std::size_t>(beats));
    for (int beat = 0; beat < beats - 1; ++beat)
        samples.insert(samples.end(), normalBeat.begin(), normalBeat.end());
    samples.insert(samples.end(), accentBeat.begin(), accentBeat.end());
    return samples;
}

void BuildBar(BarBuffer& bar, const BarPattern& pattern) {
    std::vector<float> samples = RenderBar(pattern);
    bar.Replace(samples);
}

void BuildBar(BarBuffer& bar, int bpm, int beats, const ClickGenerator& normal,
              const ClickGenerator& accent) {
    BuildBar(bar, BarPattern{bpm, beats, kMinSubdivision, normal, accent, {}});
}
