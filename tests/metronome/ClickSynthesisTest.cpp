#include "metronome/ClickSynthesis.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "audio/BarBuffer.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavFile.h"

namespace {

// Index of the first sample at or after `from` whose magnitude exceeds `level`.
std::size_t FirstSound(const std::vector<float>& v, std::size_t from, float level = 1e-4f) {
    for (std::size_t i = from; i < v.size(); ++i)
        if (std::fabs(v[i]) > level) return i;
    return v.size();
}

// Zero crossings per second of a stretch, halved: the tone's frequency.
double Frequency(const std::vector<float>& v, std::size_t from, std::size_t count) {
    int crossings = 0;
    for (std::size_t i = from + 1; i < from + count; ++i)
        if ((v[i - 1] < 0) != (v[i] < 0)) ++crossings;
    return crossings / 2.0 / (static_cast<double>(count) / 44100.0);
}

TEST(ClickSynthesisTest, TempoArithmeticGivesTheKnownPeriodsAndBeatLengths) {
    struct Case {
        int bpm, periodMs, samples;
    } cases[] = {{114, 526, 23197},
                 {60, 1000, 44100},
                 {120, 500, 22050},
                 {10, 6000, 264600},
                 {5000, 12, 529}};
    for (const Case& c : cases) {
        EXPECT_EQ(BeatPeriodMs(c.bpm), c.periodMs) << c.bpm;
        EXPECT_EQ(BeatSampleCount(44100, c.bpm), c.samples) << c.bpm;
    }
    // 64 BPM sits on a half: the single-precision 1/60 is a little large, so it rounds down.
    EXPECT_EQ(BeatPeriodMs(64), 937);
    // 960 BPM is 62.5 ms in real numbers; the product is not rounded to single precision first
    // (which would make it exactly 16 and the period 63).
    EXPECT_EQ(BeatPeriodMs(960), 62);
    // No tempo divides by zero.
    EXPECT_EQ(BeatPeriodMs(0), BeatPeriodMs(1));
    EXPECT_EQ(BeatPeriodMs(-5), 60000);
}

TEST(ClickSynthesisTest, ToneIsASineFromPhaseZeroCappedAtTenSeconds) {
    std::vector<float> tone;
    SynthesiseTone(441.0f, 263.0f, 44100, tone, [](float a) { return std::sin(a); });
    ASSERT_EQ(tone.size(), 11598u);  // 263 ms at 44100 Hz, 11598.3 rounded
    EXPECT_EQ(tone[0], 0.0f);
    EXPECT_NEAR(tone[25], 1.0f, 1e-4);  // a quarter period of 441 Hz is 25 samples
    EXPECT_NEAR(Frequency(tone, 0, 11000), 441.0, 3.0);
    SynthesiseTone(100.0f, 60000.0f, 1000, tone, [](float) { return 0.5f; });
    EXPECT_EQ(tone.size(), 10000u);
}

TEST(ClickSynthesisTest, BeatHoldsAFadedClickOfHalfThePeriodThenSilence) {
    std::vector<float> beat(3, 9.0f);
    BuildBeat(beat, 44100, 114, [](std::vector<float>& out, int rate, float maxMs) {
        out.assign(static_cast<std::size_t>(std::lround(rate * maxMs * 0.001)), 1.0f);
    });
    ASSERT_EQ(beat.size(), 23197u);
    const std::size_t click = 11598;
    EXPECT_EQ(beat[0], 1.0f);
    EXPECT_EQ(beat[click - 101], 1.0f);
    EXPECT_NEAR(beat[click - 100], 0.99f, 1e-6);  // the fade's first step
    EXPECT_NEAR(beat[click - 51], 0.50f, 1e-6);
    EXPECT_EQ(beat[click - 1], 0.0f);
    EXPECT_EQ(FirstSound(beat, click), beat.size()) << "silence after the click";

    // A click shorter than the fade is faded over its whole length.
    BuildBeat(beat, 44100, 114, [](std::vector<float>& out, int, float) { out.assign(10, 1.0f); });
    EXPECT_NEAR(beat[0], 0.09f, 1e-6);
    EXPECT_EQ(beat[9], 0.0f);
}

TEST(ClickSynthesisTest, BarAtOneHundredFourteenHasThreeNormalClicksThenTheAccent) {
    BarBuffer bar;
    BuildBar(bar, 114, 4, ToneClick(440.0f), ToneClick(880.0f));
    std::vector<float> samples = bar.Samples();
    ASSERT_EQ(samples.size(), 4u * 23197u);
    for (int beat = 0; beat < 4; ++beat) {
        std::size_t start = static_cast<std::size_t>(beat) * 23197;
        EXPECT_EQ(samples[start], 0.0f);  // sine from phase 0
        EXPECT_EQ(FirstSound(samples, start), start + 1);
        EXPECT_EQ(FirstSound(samples, start + 11598),
                  start + 23197 == samples.size() ? samples.size() : start + 23197 + 1);
        EXPECT_NEAR(Frequency(samples, start, 11000), beat == 3 ? 880.0 : 440.0, 5.0) << beat;
    }

    // One beat is the accent alone; fewer than one is one.
    BuildBar(bar, 114, 1, ToneClick(440.0f), ToneClick(880.0f));
    EXPECT_EQ(bar.Size(), 23197u);
    EXPECT_NEAR(Frequency(bar.Samples(), 0, 11000), 880.0, 5.0);
    BuildBar(bar, 114, 0, ToneClick(440.0f), ToneClick(880.0f));
    EXPECT_EQ(bar.Size(), 23197u);
    BuildBar(bar, 114, -3, ToneClick(440.0f), ToneClick(880.0f));
    EXPECT_EQ(bar.Size(), 23197u);
}

TEST(ClickSynthesisTest, SampleClicksAreCutToHalfABeatAndBadFilesGiveSilentBeats) {
    Testing::TempDir dir;
    std::vector<float> longClick(44100, 0.5f);
    std::string good = dir.Write("long.wav", Testing::WavBytes(44100, 1, longClick)).string();
    std::vector<float> beat;
    BuildBeat(beat, 44100, 120, SampleClick(good));
    ASSERT_EQ(beat.size(), 22050u);
    EXPECT_EQ(beat[0], 0.5f);
    EXPECT_EQ(beat[11025 - 1], 0.0f);  // cut to 250 ms and faded
    EXPECT_EQ(FirstSound(beat, 11025), beat.size());

    std::string broken[] = {
        (dir.Path() / "missing.wav").string(),
        dir.Write("empty.wav", "").string(),
        dir.Write("text.wav", "RIFF but not really").string(),
        dir.Write("cut.wav", Testing::WavBytes(44100, 1, {}, 50000)).string(),
    };
    for (const std::string& path : broken) {
        BarBuffer bar;
        BuildBar(bar, 120, 3, SampleClick(path), SampleClick(path));
        std::vector<float> samples = bar.Samples();
        EXPECT_EQ(samples.size(), 3u * 22050u) << path;
        EXPECT_EQ(FirstSound(samples, 0), samples.size()) << path;
    }
}

// Long sample clicks show where each click starts and ends: 1.0 for a beat, 0.5 between.
TEST(ClickSynthesisTest, SubdivisionsSoundOnTheirSampleAndNeverOverlap) {
    Testing::TempDir dir;
    const std::string path =
        dir.Write("long.wav", Testing::WavBytes(44100, 1, std::vector<float>(44100, 1.0f)))
            .string();
    for (int n = 2; n <= 4; ++n) {
        BarPattern pattern{114, 2, n, SampleClick(path), SampleClick(path), SampleClick(path)};
        const std::vector<float> bar = RenderBar(pattern);
        const std::size_t beat = 23197;
        ASSERT_EQ(bar.size(), 2 * beat) << n;
        // Every click lasts at most half the distance between two clicks, faded at its end.
        const std::size_t longest = static_cast<std::size_t>(BeatPeriodMs(114) / 2.0 / n * 44.1);
        auto onset = [&](std::size_t b, int k) {
            return b * beat +
                   static_cast<std::size_t>(std::lround(static_cast<double>(k) * beat / n));
        };
        for (std::size_t b = 0; b < 2; ++b)
            for (int k = 0; k < n; ++k) {
                const std::size_t at = onset(b, k);
                EXPECT_EQ(bar[at], k == 0 ? 1.0f : kSubdivisionLevel) << n << " " << k;
                if (at > 0) {
                    EXPECT_EQ(bar[at - 1], 0.0f) << n << " " << k;
                }
                const std::size_t next = k + 1 < n ? onset(b, k + 1) : onset(b + 1, 0);
                EXPECT_EQ(FirstSound(bar, at + longest), next) << n << " " << k;
            }
    }
    // Without a subdivision the bar is the one always played.
    BarBuffer plain;
    BuildBar(plain, 114, 3, SampleClick(path), SampleClick(path));
    EXPECT_EQ(plain.Samples(), RenderBar({114, 3, 1, SampleClick(path), SampleClick(path), {}}));
}

}  // namespace
