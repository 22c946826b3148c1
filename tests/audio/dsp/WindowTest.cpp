#include "audio/dsp/Window.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include <gtest/gtest.h>

namespace {

void ExpectSymmetric(const std::vector<float>& w) {
    for (std::size_t i = 0; i < w.size() / 2; ++i)
        ASSERT_NEAR(w[i], w[w.size() - 1 - i], 1e-6f) << "at " << i;
}

// Highest side lobe of the window's spectrum, in dB below its main lobe, from a finely
// sampled DTFT.
double HighestSideLobeDb(const std::vector<float>& w) {
    const int points = 8 * static_cast<int>(w.size());
    std::vector<double> magnitude(points / 2);
    for (int f = 0; f < points / 2; ++f) {
        std::complex<double> sum;
        for (std::size_t k = 0; k < w.size(); ++k)
            sum += static_cast<double>(w[k]) *
                   std::polar(1.0, -2.0 * std::numbers::pi * f * static_cast<double>(k) / points);
        magnitude[f] = std::abs(sum);
    }
    std::size_t firstNull = 1;
    while (firstNull + 1 < magnitude.size() && magnitude[firstNull + 1] < magnitude[firstNull])
        ++firstNull;
    double lobe = *std::max_element(magnitude.begin() + firstNull, magnitude.end());
    return 20.0 * std::log10(lobe / magnitude[0]);
}

TEST(WindowTest, CosineWindowsFollowTheirFormulas) {
    EXPECT_TRUE(MakeWindow(kWindowNone, 64).empty());
    EXPECT_TRUE(MakeWindow(kWindowNoneAlso, 64).empty());
    EXPECT_TRUE(MakeWindow(9, 64).empty());
    EXPECT_TRUE(MakeWindow(kWindowHann, 0).empty());
    EXPECT_EQ(MakeWindow(kWindowHann, 1), std::vector<float>{1.0f});

    std::vector<float> raised = MakeWindow(kWindowRaisedCosine, 101);
    EXPECT_NEAR(raised.front(), 0.14f, 1e-6f);
    EXPECT_NEAR(raised[50], 0.94f, 1e-6f);
    std::vector<float> blackman = MakeWindow(kWindowBlackman, 101);
    EXPECT_NEAR(blackman.front(), 0.0f, 1e-6f);
    EXPECT_NEAR(blackman[50], 1.0f, 1e-6f);
    std::vector<float> hann = MakeWindow(kWindowHann, 100);
    EXPECT_NEAR(hann[25], 0.5f * (1.0f - std::cos(2.0f * std::numbers::pi_v<float> * 25 / 99)),
                1e-6f);
    std::vector<float> harris = MakeWindow(kWindowBlackmanHarris, 101);
    EXPECT_NEAR(harris.front(), 0.35875f - 0.48829f + 0.14128f - 0.01168f, 1e-6f);
    EXPECT_NEAR(harris[50], 1.0f, 1e-6f);
    for (const auto* w : {&raised, &blackman, &hann, &harris}) ExpectSymmetric(*w);
}

TEST(WindowTest, DolphChebyshevMatchesKnownValuesAndItsSideLobeLevel) {
    std::vector<float> w512 = MakeWindow(kWindowDolphChebyshev, 512);
    EXPECT_NEAR(w512[0], 0.1296f, 1e-4f);
    EXPECT_NEAR(w512[1], 0.01465f, 1e-5f);
    EXPECT_NEAR(w512[2], 0.01547f, 1e-5f);
    std::vector<float> w2048 = MakeWindow(kWindowDolphChebyshev, 2048);
    EXPECT_NEAR(w2048.front(), 0.4976f, 1e-4f);
    EXPECT_NEAR(w2048.back(), 0.4976f, 1e-4f);
    EXPECT_FLOAT_EQ(w2048[1023], 1.0f);
    EXPECT_FLOAT_EQ(w2048[1024], 1.0f);
    ExpectSymmetric(w2048);

    // Any length, odd or even: equal side lobes at the requested attenuation.
    for (int n : {31, 64, 301}) {
        std::vector<float> w = DolphChebyshevWindow(n);
        ExpectSymmetric(w);
        EXPECT_FLOAT_EQ(*std::max_element(w.begin(), w.end()), 1.0f);
        EXPECT_NEAR(HighestSideLobeDb(w), -60.0, 0.3) << "length " << n;
    }
    EXPECT_NEAR(HighestSideLobeDb(DolphChebyshevWindow(64, 40.0)), -40.0, 0.3);
    EXPECT_FLOAT_EQ(DolphChebyshevWindow(31)[15], 1.0f);
    EXPECT_EQ(DolphChebyshevWindow(1), std::vector<float>{1.0f});
}

}  // namespace
