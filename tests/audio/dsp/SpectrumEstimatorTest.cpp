#include "audio/dsp/SpectrumEstimator.h"

#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "audio/dsp/PeakSearch.h"
#include "audio/dsp/Window.h"

namespace {

constexpr float kRate = 11025.0f;

double Cents(double measured, double truth) {
    return 1200.0 * std::log2(measured / truth);
}

// Partials 1..count with amplitudes amplitude(h), up to the Nyquist frequency.
template <class Amplitude>
std::vector<float> Tone(double frequency, int partials, Amplitude amplitude, int n = 2048) {
    std::vector<float> x(n, 0.0f);
    for (int h = 1; h <= partials && frequency * h < kRate / 2; ++h)
        for (int i = 0; i < n; ++i)
            x[i] += static_cast<float>(
                amplitude(h) *
                std::sin(2.0 * std::numbers::pi * frequency * h * i / kRate + 0.7 * h));
    return x;
}

std::vector<float> Sine(double frequency, double amplitude = 0.5) {
    return Tone(frequency, 1, [amplitude](int) { return amplitude; });
}

class SpectrumEstimatorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(estimator.Configure(2048, true, 0.01f, kRate, 16.0f, 4)); }
    float Estimate(std::vector<float> frame) {
        return estimator.EstimateFrequency(frame.data(), frame.data());
    }
    SpectrumEstimator estimator;
};

TEST_F(SpectrumEstimatorTest, ConfigurationForTheTunerAndOtherSizes) {
    EXPECT_EQ(estimator.FrameSize(), 2048);
    EXPECT_EQ(estimator.Bins(), 1024);
    EXPECT_EQ(estimator.SubBinSteps(), 550);
    EXPECT_EQ(estimator.HalfWidth(), 3);
    EXPECT_NEAR(estimator.BinWidth(), 5.3833f, 1e-4f);
    EXPECT_EQ(estimator.Window(), MakeWindow(kWindowDolphChebyshev, 2048));

    SpectrumEstimator other;
    ASSERT_TRUE(other.Configure(1024, true, 0.01f, kRate, 16.0f, kWindowHann));
    EXPECT_EQ(other.SubBinSteps(), 1076);
    ASSERT_TRUE(other.Configure(4096, true, 0.01f, kRate, 16.0f, kWindowHann));
    EXPECT_EQ(other.SubBinSteps(), 269);
    EXPECT_EQ(other.HalfWidth(), 6);

    std::vector<float> frame(2048, 0.1f);
    for (int bad : {0, 8, 1000, 2047}) {
        EXPECT_FALSE(other.Configure(bad, true, 0.01f, kRate, 16.0f, 4)) << bad;
        EXPECT_FALSE(other.IsConfigured());
        EXPECT_EQ(other.EstimateFrequency(frame.data(), frame.data()), -1.0f);
    }
    EXPECT_FALSE(other.Configure(2048, true, 0.0f, kRate, 16.0f, 4));
    EXPECT_FALSE(other.Configure(2048, true, 0.01f, -1.0f, 16.0f, 4));
}

TEST_F(SpectrumEstimatorTest, TemplatesAreTheWindowsSpectralShape) {
    const int n = 64;
    const int rows = 40;
    std::vector<float> window = MakeWindow(kWindowHann, n);
    TemplateTable table(window, n, rows);
    ASSERT_EQ(table.Rows(), rows);
    for (int t : {0, 13, 39}) {
        for (int j = 0; j < TemplateTable::kWidth; ++j) {
            std::complex<double> sum;
            for (int k = 0; k < n; ++k)
                sum += static_cast<double>(window[k]) *
                       std::polar(1.0, 2.0 * std::numbers::pi * (double(t) / rows) * k / n) *
                       std::polar(1.0, -2.0 * std::numbers::pi * (j - 4) * k / double(n));
            EXPECT_NEAR(table.Value(t, j), std::abs(sum), 1e-4) << "row " << t << " bin " << j;
        }
    }
    // Odd lengths and no window at all.
    TemplateTable flat({}, 63, 4);
    EXPECT_NEAR(flat.Value(0, 4), 63.0f, 1e-3f);
    EXPECT_NEAR(flat.Value(0, 5), 0.0f, 1e-3f);

    const TemplateTable& tuner = estimator.Templates();
    EXPECT_FLOAT_EQ(tuner.Value(0, 3), tuner.Value(0, 5));
    for (int t : {0, 63, 64, 275, 549}) {
        float nine[TemplateTable::kWidth];
        for (int j = 0; j < TemplateTable::kWidth; ++j) nine[j] = tuner.Value(t, j);
        EXPECT_EQ(tuner.BestMatch(nine), t);
    }
}

TEST_F(SpectrumEstimatorTest, SinesAreMeasuredToAFractionOfACent) {
    for (double f : {41.2, 55.0, 82.41, 110.0, 196.0, 262.3, 440.0, 443.7, 659.26, 1000.0, 1300.0})
        EXPECT_NEAR(Cents(Estimate(Sine(f)), f), 0.0, 0.5) << f << " Hz";
    // Reported on a grid of 1/550 of a bin.
    for (double f : {82.41, 443.7}) {
        double steps = Estimate(Sine(f)) / estimator.BinWidth() * 550.0;
        EXPECT_NEAR(steps, std::round(steps), 0.05) << f;
    }
    // Quiet and loud alike.
    EXPECT_NEAR(Cents(Estimate(Sine(330.0, 0.001)), 330.0), 0.0, 0.5);
    EXPECT_NEAR(Cents(Estimate(Sine(330.0, 1.0)), 330.0), 0.0, 0.5);
}

TEST_F(SpectrumEstimatorTest, HarmonicToneGivesItsFundamentalNotAnOvertone) {
    // Sawtooth-like, a fundamental 20 dB under its octave, and a full-scale square wave.
    auto saw = [](int h) { return 0.3 / h; };
    auto weakFundamental = [](int h) { return h == 1 ? 0.03 : 0.6 / h; };
    auto square = [](int h) { return h % 2 ? 4.0 / (std::numbers::pi * h) : 0.0; };
    for (double f : {55.0, 98.0, 146.83, 220.0, 392.0, 523.25}) {
        EXPECT_NEAR(Cents(Estimate(Tone(f, 12, saw)), f), 0.0, 1.0) << "saw " << f;
        EXPECT_NEAR(Cents(Estimate(Tone(f, 8, weakFundamental)), f), 0.0, 1.0) << "weak " << f;
        EXPECT_NEAR(Cents(Estimate(Tone(f, 30, square)), f), 0.0, 1.0) << "square " << f;
    }
}

TEST_F(SpectrumEstimatorTest, OctaveCheckPrefersAStrongEnoughLowerOctave) {
    const double f = 196.0;
    auto twoPartials = [](double lower) {
        return [lower](int h) { return h == 1 ? lower : h == 2 ? 0.5 : 0.0; };
    };
    // 10 dB below the strongest peak: the lower octave is the note.
    EXPECT_NEAR(Cents(Estimate(Tone(f, 2, twoPartials(0.16))), f), 0.0, 1.0);
    // 20 dB below: too weak, the strongest peak stands.
    EXPECT_NEAR(Cents(Estimate(Tone(f, 2, twoPartials(0.05))), 2 * f), 0.0, 1.0);
}

TEST_F(SpectrumEstimatorTest, SpectrumIsWrittenOverTheFrameAndBothTransformsAgree) {
    std::vector<float> frame = Sine(440.0);
    std::vector<float> original = frame;
    float f = estimator.EstimateFrequency(frame.data(), frame.data());
    int peak = static_cast<int>(std::max_element(frame.begin(), frame.end()) - frame.begin());
    EXPECT_EQ(peak, static_cast<int>(std::lround(440.0 / estimator.BinWidth())));
    for (int k = 1024; k < 2048; ++k) ASSERT_EQ(frame[k], 0.0f);
    EXPECT_EQ(std::vector<float>(frame.begin(), frame.begin() + 1024), estimator.Spectrum());

    SpectrumEstimator complexInput;
    ASSERT_TRUE(complexInput.Configure(2048, false, 0.01f, kRate, 16.0f, 4));
    std::vector<float> spectrum(2048);
    EXPECT_NEAR(complexInput.EstimateFrequency(original.data(), spectrum.data()), f, 0.02f);
    for (int k = 0; k < 1024; ++k) ASSERT_NEAR(spectrum[k], frame[k], 1e-3f * frame[peak]);
}

TEST_F(SpectrumEstimatorTest, DegenerateFramesNeverCrashOrGiveNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float value : {0.0f, 1.0f, -1.0f, nan, inf}) {
        std::vector<float> frame(2048, value);
        EXPECT_FALSE(std::isnan(Estimate(frame))) << value;
    }
    std::vector<float> spiky = Sine(440.0);
    spiky[100] = nan;
    spiky[200] = inf;
    EXPECT_FALSE(std::isnan(Estimate(spiky)));
}

TEST(PeakSearchTest, RoundsBlankTheirNeighbourhood) {
    std::vector<float> s = {9, 0, 1, 5, 4, 2, 7, 7, 1, 3, 0};
    std::vector<float> scratch;
    PeakSearch search(s, 0, 11, 2, scratch);
    EXPECT_EQ(search.Next(), 6);  // bins 0 and 1 lie below lo + width; first of the tie
    EXPECT_EQ(search.Next(), 3);  // 5 and 7 were blanked with their neighbours
    EXPECT_EQ(search.Next(), 9);
    EXPECT_EQ(search.Next(), 2);  // only zeros are left: the first searched bin
    EXPECT_EQ(PeakSearch(s, 0, 11, 2, scratch).Nth(2), 3);
    EXPECT_EQ(PeakSearch(s, 4, 11, 2, scratch).Next(), 6);
    EXPECT_EQ(PeakSearch(s, 6, 11, 3, scratch).Next(), -1);  // 6 + 3 >= 11 - 3
}

// The rule itself, scanning everything every round.
int ReferenceRound(std::vector<float>& s, int lo, int hi, int width) {
    if (lo + width >= hi - width) return -1;
    int best = lo + width;
    for (int bin = best + 1; bin < hi; ++bin)
        if (s[bin] > s[best]) best = bin;
    const int radius = std::max(width - 1, 0);  // the peak itself always goes
    for (int bin = std::max(best - radius, 0); bin <= std::min(best + radius, hi - 1); ++bin)
        s[bin] = 0.0f;
    return best;
}

TEST(PeakSearchTest, AgreesWithPlainScansOnRandomSpectra) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> level(0, 40);  // coarse, so ties happen
    std::vector<float> scratch;
    for (int size : {1024, 9000}) {
        std::vector<float> s(size);
        for (float& v : s) v = static_cast<float>(level(random));
        for (auto [lo, hi, width] : {std::tuple{0, size, 3}, std::tuple{100, size - 7, 1},
                                     std::tuple{37, 200, 6}, std::tuple{0, size, 0}}) {
            std::vector<float> reference = s;
            PeakSearch search(s, lo, hi, width, scratch);
            for (int round = 0; round < 40; ++round)
                ASSERT_EQ(search.Next(), ReferenceRound(reference, lo, hi, width))
                    << size << " " << lo << " " << hi << " " << width << " round " << round;
        }
    }
}

}  // namespace
