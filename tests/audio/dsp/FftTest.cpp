#include "audio/dsp/Fft.h"

#include <complex>
#include <numbers>
#include <random>

#include <gtest/gtest.h>

namespace {

std::vector<std::complex<double>> Dft(const std::vector<std::complex<double>>& x) {
    const std::size_t n = x.size();
    std::vector<std::complex<double>> out(n);
    for (std::size_t k = 0; k < n; ++k)
        for (std::size_t i = 0; i < n; ++i)
            out[k] += x[i] * std::polar(1.0, -2.0 * std::numbers::pi * double(k * i % n) / n);
    return out;
}

TEST(FftTest, ComplexTransformMatchesTheDefinition) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (int n : {1, 2, 4, 8, 256}) {
        std::vector<Complex> data(n);
        std::vector<std::complex<double>> reference(n);
        for (int i = 0; i < n; ++i) {
            data[i] = {value(random), value(random)};
            reference[i] = {data[i].re, data[i].im};
        }
        ComplexFft fft(n);
        ASSERT_EQ(fft.Size(), n);
        fft.Transform(data.data());
        auto expected = Dft(reference);
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(data[k].re, expected[k].real(), 1e-4) << n << " bin " << k;
            EXPECT_NEAR(data[k].im, expected[k].imag(), 1e-4) << n << " bin " << k;
        }
    }
    EXPECT_EQ(ComplexFft(12).Size(), 0);
    EXPECT_EQ(ComplexFft(0).Size(), 0);
}

TEST(FftTest, RealTransformMatchesTheDefinitionAndMagnitudes) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (int n : {2, 4, 512}) {
        std::vector<float> frame(n);
        std::vector<std::complex<double>> reference(n);
        for (int i = 0; i < n; ++i) reference[i] = frame[i] = value(random);
        RealFft fft(n);
        ASSERT_EQ(fft.Bins(), n / 2);
        std::vector<Complex> bins(n / 2);
        fft.Transform(frame.data(), bins.data());
        std::vector<float> magnitudes(n / 2);
        Magnitudes(bins.data(), magnitudes.data(), n / 2);
        auto expected = Dft(reference);
        for (int k = 0; k < n / 2; ++k) {
            EXPECT_NEAR(bins[k].re, expected[k].real(), 1e-4) << n << " bin " << k;
            EXPECT_NEAR(bins[k].im, expected[k].imag(), 1e-4) << n << " bin " << k;
            EXPECT_NEAR(magnitudes[k], std::abs(expected[k]), 1e-4);
        }
    }
    EXPECT_EQ(RealFft(6).Bins(), 0);
}

}  // namespace
