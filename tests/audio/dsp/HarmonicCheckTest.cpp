#include "audio/dsp/HarmonicCheck.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "audio/dsp/SpectrumEstimator.h"
#include "audio/dsp/Window.h"

namespace {

constexpr double kRate = 11025.0;

// One 2048-sample frame of partials h = 1, 2, ... with the given amplitudes.
std::vector<float> Tone(double f, const std::vector<double>& amplitudes) {
    std::vector<float> x(2048, 0.0f);
    for (std::size_t h = 1; h <= amplitudes.size(); ++h)
        for (std::size_t i = 0; i < x.size(); ++i)
            x[i] += static_cast<float>(
                amplitudes[h - 1] *
                std::sin(2.0 * std::numbers::pi * f * h * i / kRate + 0.3 * h * h));
    return x;
}

// Partial amplitudes of notes the estimator read in the wrong octave, taken from rendered
// instrument notes: a steel string's A2, its fundamental 24 dB under its octave, and an alto
// saxophone's high note with a strong fourth partial.
const std::vector<double> kGuitar = {0.063, 1.0,  0.63,  0.40, 0.14,  0.022, 0.0,
                                     0.035, 0.05, 0.028, 0.04, 0.045, 0.04};
const std::vector<double> kSaxophone = {0.89, 0.28, 0.89, 1.0, 0.32, 0.28, 0.089};

class HarmonicCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(estimator.Configure(2048, true, 0.01f, static_cast<float>(kRate), 16.0f,
                                        kWindowDolphChebyshev));
    }
    float Estimate(std::vector<float> frame) {
        return estimator.EstimateFrequency(frame.data(), frame.data());
    }
    SpectrumEstimator estimator;
    HarmonicCheck check;
};

TEST_F(HarmonicCheckTest, NamesTheFundamentalWhereTheEstimatorNamesAPartial) {
    struct Case {
        double f;
        const std::vector<double>& partials;
    };
    for (const Case& c : {Case{110.0, kGuitar}, Case{196.0, kGuitar}, Case{880.0, kSaxophone}}) {
        const float estimate = Estimate(Tone(c.f, c.partials));
        const int number = static_cast<int>(std::lround(estimate / c.f));
        ASSERT_GT(number, 1) << c.f << " Hz is no longer misread; pick a harder case";
        // The estimate divided by the partial's number: the estimator's precision is kept.
        EXPECT_EQ(check.Fundamental(estimator, estimate, 0.0f), estimate / number) << c.f;
        EXPECT_NEAR(estimate / number, c.f, 0.02) << c.f;
    }
}

TEST_F(HarmonicCheckTest, LeavesRightEstimatesAndFollowsARealChangeOfOctave) {
    std::vector<double> sawtooth;
    for (int h = 1; h <= 30; ++h) sawtooth.push_back(1.0 / h);
    for (double f : {41.2, 220.0, 1046.5}) {
        const float estimate = Estimate(Tone(f, sawtooth));
        EXPECT_EQ(check.Fundamental(estimator, estimate, 0.0f), estimate) << f;
    }
    // Only the even partials of 110 Hz are a tone of 220 Hz: nothing supports the lower octave,
    // even when it was the note shown before.
    std::vector<double> even;
    for (int h = 1; h <= 20; ++h) even.push_back(h % 2 ? 0.0 : 1.0 / h);
    float estimate = Estimate(Tone(110.0, even));
    EXPECT_NEAR(check.Fundamental(estimator, estimate, 110.0f), 220.0f, 0.05f);

    // A guitar's A2 shown before keeps its octave; the whole series an octave up replaces it.
    estimate = Estimate(Tone(110.0, kGuitar));
    EXPECT_NEAR(check.Fundamental(estimator, estimate, 110.0f), 110.0f, 0.05f);
    estimate = Estimate(Tone(220.0, sawtooth));
    EXPECT_NEAR(check.Fundamental(estimator, estimate, 110.0f), 220.0f, 0.05f);
}

TEST_F(HarmonicCheckTest, PassesOnWhatItCannotJudge) {
    const float estimate = Estimate(std::vector<float>(2048, 0.0f));
    EXPECT_EQ(check.Fundamental(estimator, estimate, 0.0f), estimate);
    EXPECT_EQ(check.Fundamental(estimator, -1.0f, 440.0f), -1.0f);
    EXPECT_TRUE(std::isnan(check.Fundamental(estimator, std::nanf(""), 0.0f)));
}

}  // namespace
