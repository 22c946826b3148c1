#include "tuner/PitchAnalyser.h"

#include <cmath>
#include <limits>
#include <numbers>

#include <gtest/gtest.h>

#include "audio/AnalysisFrame.h"
#include "settings/AppSettings.h"

namespace {

std::vector<float> Sine(double frequency, double rms, int n = 2048) {
    std::vector<float> x(n);
    const double amplitude = rms * std::numbers::sqrt2;
    for (int i = 0; i < n; ++i)
        x[i] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * frequency * i /
                                                       PitchAnalyser::kSampleRate));
    return x;
}

class PitchAnalyserTest : public ::testing::Test {
protected:
    // One frame analysed as it stands, whatever its length.
    float Feed(std::vector<float> frame) {
        analyser.Analyse(frame);
        return analyser.GetFrequency();
    }

    AnalysisFrame frames;
    AppSettings settings;
    PitchAnalyser analyser{frames, settings};
};

TEST_F(PitchAnalyserTest, AnalysesEveryNewFrameOnceAndCountsEachAnalysis) {
    EXPECT_TRUE(analyser.HasNewFrame());  // the first request analyses what there is
    EXPECT_EQ(analyser.GetFrequency(), 0.0f);
    EXPECT_EQ(analyser.AnalysisCount(), 0);  // an empty frame is not analysed

    const std::vector<float> sine = Sine(440.0, 0.1, 2048 + 3 * 128);
    frames.Deliver(sine.data(), 2048);
    EXPECT_NEAR(analyser.GetFrequency(), 440.0f, 0.1f);
    EXPECT_EQ(analyser.AnalysisCount(), 1);
    // Three hops arrive between two requests: all three frames are analysed.
    frames.Deliver(sine.data() + 2048, 3 * 128);
    analyser.GetFrequency();
    EXPECT_EQ(analyser.AnalysisCount(), 4);
    EXPECT_FALSE(analyser.HasNewFrame());
    analyser.GetFrequency();
    EXPECT_EQ(analyser.AnalysisCount(), 4);
    EXPECT_EQ(analyser.Estimator().FrameSize(), 2048);

    // The work array holds the spectrum after a frame passed the gate.
    const std::vector<float>& work = analyser.GetWork();
    ASSERT_EQ(work.size(), 2048u);
    auto peak = std::max_element(work.begin(), work.end()) - work.begin();
    EXPECT_EQ(peak, std::lround(440.0 / analyser.Estimator().BinWidth()));
    EXPECT_EQ(work[1500], 0.0f);
}

TEST_F(PitchAnalyserTest, LevelGateKeepsTheLastFrequencyBelowTheThreshold) {
    Feed(Sine(440.0, 0.1));
    // Passes when 20 log10(rms * 32768) > 25, an RMS of about 5.43e-4.
    EXPECT_NEAR(Feed(Sine(440.0, 5.0e-4)), 440.0f, 0.1f);
    EXPECT_FALSE(analyser.LastPassedGate());
    EXPECT_EQ(analyser.LastEstimate(), 0.0f);
    Feed(Sine(445.0, 6.0e-4));
    EXPECT_TRUE(analyser.LastPassedGate());
    EXPECT_NEAR(analyser.LastEstimate(), 445.0f, 0.1f);

    const float before = analyser.GetFrequency();
    std::vector<float> dc(2048, 0.5f);
    EXPECT_EQ(Feed(dc), before);
    EXPECT_EQ(Feed(std::vector<float>(2048, 0.0f)), before);
    EXPECT_EQ(analyser.AnalysisCount(), 5);

    settings.levelThreshold = 100;
    EXPECT_EQ(Feed(Sine(300.0, 0.3)), before);
    EXPECT_FALSE(analyser.LastPassedGate());
    settings.levelThreshold = 5;
    settings.levelFloor = 60;  // a higher floor needs a louder input
    Feed(Sine(440.0, 0.01));
    EXPECT_FALSE(analyser.LastPassedGate());
}

TEST_F(PitchAnalyserTest, GainSourceScalesTheGateAndAMissingControlMeansNominalGain) {
    EXPECT_EQ(analyser.InputGain(), PitchAnalyser::kNominalGain);
    const std::vector<float> tone = Sine(440.0, 2.0e-3);  // 36 dB at nominal gain
    EXPECT_TRUE(analyser.PassesGate(tone));
    analyser.SetGainSource([] { return 3276.8; });  // 20 dB less
    EXPECT_FALSE(analyser.PassesGate(tone));
    // An input line without a volume control reports -1: the tuner must not go deaf.
    for (double missing : {-1.0, 0.0, std::numeric_limits<double>::quiet_NaN()}) {
        analyser.SetGainSource([missing] { return missing; });
        EXPECT_EQ(analyser.InputGain(), PitchAnalyser::kNominalGain);
        EXPECT_TRUE(analyser.PassesGate(tone));
    }
    analyser.SetGainSource({});
    EXPECT_EQ(analyser.InputGain(), PitchAnalyser::kNominalGain);
}

TEST_F(PitchAnalyserTest, ANewNoteWinsOnlyAfterFiveAgreeingFrames) {
    for (int i = 0; i < 10; ++i) Feed(Sine(440.0, 0.1));
    EXPECT_NEAR(analyser.GetFrequency(), 440.0f, 0.1f);

    // One wild frame inside the note is rejected.
    Feed(Sine(880.0, 0.1));
    EXPECT_NEAR(analyser.GetFrequency(), 440.0f, 0.1f);
    Feed(Sine(440.0, 0.1));

    std::vector<float> seen;
    for (int i = 0; i < 15; ++i) seen.push_back(Feed(Sine(330.0, 0.1)));
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(seen[i], 440.0f, 0.1f) << i;
    // The fifth agreeing frame moves it, straight to the new note: never a value between.
    for (int i = 4; i < 15; ++i) EXPECT_NEAR(seen[i], 330.0f, 0.1f) << i;
}

TEST_F(PitchAnalyserTest, BadFramesNeverReportNaNAndKeepTheFrequency) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (int i = 0; i < 10; ++i) Feed(Sine(440.0, 0.1));
    const float steady = analyser.GetFrequency();

    std::vector<std::vector<float>> bad = {
        std::vector<float>(2048, nan),
        std::vector<float>(2048, inf),
        std::vector<float>(2048, -inf),
        std::vector<float>(1000, 0.1f),
        Sine(440.0, 0.1, 1000),  // no radix-2 transform for this length
        Sine(440.0, 0.1, 7),
        Sine(440.0, 0.1, 1),
    };
    std::vector<float> spiked = Sine(440.0, 0.1);
    spiked[10] = nan;
    bad.push_back(spiked);
    spiked[10] = inf;
    bad.push_back(spiked);
    for (const std::vector<float>& frame : bad) {
        EXPECT_EQ(Feed(frame), steady) << "length " << frame.size();
        EXPECT_FALSE(std::isnan(analyser.LastEstimate()));
    }

    // Full-scale square wave: a real note, measured.
    std::vector<float> square(2048);
    for (int i = 0; i < 2048; ++i)
        square[i] = std::sin(2.0 * std::numbers::pi * 440.0 * i / 11025.0) >= 0 ? 1.0f : -1.0f;
    for (int i = 0; i < 10; ++i) Feed(square);
    EXPECT_NEAR(analyser.GetFrequency(), 440.0f, 0.5f);

    // Another power-of-two length reconfigures rather than reading past the frame; back at
    // 2048 the tuner carries on.
    EXPECT_NEAR(Feed(Sine(440.0, 0.1, 4096)), 440.0f, 0.5f);
    EXPECT_EQ(analyser.Estimator().FrameSize(), 4096);
    EXPECT_NEAR(Feed(Sine(440.0, 0.1)), 440.0f, 0.5f);
    EXPECT_EQ(analyser.Estimator().FrameSize(), 2048);
}

// Frames of 2048 samples every 128 samples over a signal at the analyser's rate.
std::vector<std::vector<float>> Frames(const std::vector<float>& signal) {
    std::vector<std::vector<float>> frames;
    for (std::size_t at = 0; at + 2048 <= signal.size(); at += 128)
        frames.emplace_back(signal.begin() + static_cast<long>(at),
                            signal.begin() + static_cast<long>(at + 2048));
    return frames;
}

// A steel string's partials (from a rendered A2 that the estimator alone reads an octave up:
// the fundamental is 24 dB under the octave), all fading by `decayDbPerSecond`.
std::vector<float> String(double f, double seconds, double decayDbPerSecond) {
    const double partials[] = {0.063, 1.0,  0.63,  0.40, 0.14,  0.022, 0.0,
                               0.035, 0.05, 0.028, 0.04, 0.045, 0.04};
    std::vector<float> x(static_cast<std::size_t>(seconds * PitchAnalyser::kSampleRate));
    for (int h = 1; h <= 13; ++h) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double t = i / PitchAnalyser::kSampleRate;
            x[i] += static_cast<float>(0.2 * partials[h - 1] *
                                       std::pow(10.0, -decayDbPerSecond * t / 20.0) *
                                       std::sin(2.0 * std::numbers::pi * f * h * t + h));
        }
    }
    return x;
}

float CentsFrom(float f, float note) {
    return 1200.0f * std::fabs(std::log2(f / note));
}

TEST_F(PitchAnalyserTest, ANoteFadingIntoSilenceKeepsItsReading) {
    // A guitar's A2 fades by 40 dB a second into a hum at 60 Hz 45 dB under its start, which
    // outlasts it above the level gate; then the input goes silent.
    std::vector<float> signal = String(110.0, 3.0, 40.0);
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] += static_cast<float>(
            2e-3 * std::sin(2.0 * std::numbers::pi * 60.0 * i / PitchAnalyser::kSampleRate));
    signal.resize(signal.size() + 4096, 0.0f);
    int shown = 0;
    for (const std::vector<float>& frame : Frames(signal)) {
        const float f = Feed(frame);
        if (analyser.AnalysisCount() < 10) continue;  // the first readings settle
        ASSERT_LT(CentsFrom(f, 110.0f), 5.0f) << "frame " << analyser.AnalysisCount() << ": " << f;
        shown += analyser.LastPassedGate() ? 1 : 0;
    }
    EXPECT_FALSE(analyser.LastPassedGate());
    EXPECT_GT(shown, 200);  // the hum kept the gate open long after the note faded
}

TEST(PitchAnalyserMixtureTest, TwoNotesAtOnceReadAsOneOfThem) {
    // Two strings ringing together and equally loud: a fourth (A2 and D3) and a major third (F3
    // and A3), whose partials a common subharmonic two octaves down explains best.
    for (auto [low, high] : {std::pair{110.0f, 146.83f}, std::pair{174.61f, 220.0f}}) {
        AnalysisFrame frames;
        AppSettings settings;
        PitchAnalyser analyser(frames, settings);
        std::vector<float> mixture = String(low, 1.5, 0.0), other = String(high, 1.5, 0.0);
        for (std::size_t i = 0; i < mixture.size(); ++i) mixture[i] += other[i];
        std::vector<float> shown;
        for (const std::vector<float>& frame : Frames(mixture)) {
            frames.Deliver(frame.data(), static_cast<int>(frame.size()));
            shown.push_back(analyser.GetFrequency());
        }
        const float settled = shown[20];
        EXPECT_LT(std::min(CentsFrom(settled, low), CentsFrom(settled, high)), 5.0f) << settled;
        for (std::size_t i = 20; i < shown.size(); ++i)
            EXPECT_LT(CentsFrom(shown[i], settled), 5.0f) << low << " " << i;
    }
}

TEST(PitchAnalyserSingletonTest, ReadsTheProcessFrameStore) {
    PitchAnalyser& analyser = DllPitchAnalyserInstance();
    EXPECT_EQ(&analyser, &DllPitchAnalyserInstance());
    std::vector<float> frame = Sine(261.63, 0.05);
    DllAnalysisFrameInstance().Deliver(frame.data(), 2048);
    EXPECT_NEAR(analyser.GetFrequency(), 261.63f, 0.1f);
}

}  // namespace
