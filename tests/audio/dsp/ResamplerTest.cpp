#include "audio/dsp/Resampler.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace {

std::vector<float> Sine(double frequency, double rate, double seconds) {
    std::vector<float> x(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * frequency * i / rate));
    return x;
}

// Largest difference from the ideal sine away from the edges, where the kernel runs out.
double InteriorError(const std::vector<float>& y, double frequency, double rate) {
    double worst = 0.0;
    for (std::size_t i = y.size() / 10; i < y.size() * 9 / 10; ++i)
        worst = std::max(
            worst, std::fabs(y[i] - 0.5 * std::sin(2.0 * std::numbers::pi * frequency * i / rate)));
    return worst;
}

TEST(ResamplerTest, TonesKeepTheirFrequencyAcrossRates) {
    Resampler resampler;
    for (double from : {48000.0, 22050.0, 8000.0, 96000.0}) {
        std::vector<float> y = resampler.Convert(Sine(440.0, from, 0.5), from, 44100.0);
        EXPECT_NEAR(static_cast<double>(y.size()), 22050.0, 1.0) << from;
        EXPECT_LT(InteriorError(y, 440.0, 44100.0), 2e-3) << from;
    }
    std::vector<float> same = Sine(440.0, 44100.0, 0.1);
    EXPECT_EQ(resampler.Convert(same, 44100.0, 44100.0), same);
    EXPECT_TRUE(resampler.Convert({}, 48000.0, 44100.0).empty());
    EXPECT_TRUE(resampler.Convert(same, 0.0, 44100.0).empty());
}

TEST(ResamplerTest, DownsamplingRemovesWhatTheNewRateCannotHold) {
    // 30 kHz at 96 kHz would fold to 14.1 kHz at 44.1 kHz; it must vanish instead.
    std::vector<float> y = Resampler().Convert(Sine(30000.0, 96000.0, 0.2), 96000.0, 44100.0);
    double peak = 0.0;
    for (std::size_t i = y.size() / 10; i < y.size() * 9 / 10; ++i)
        peak = std::max(peak, static_cast<double>(std::fabs(y[i])));
    EXPECT_LT(peak, 0.01);
}

}  // namespace
