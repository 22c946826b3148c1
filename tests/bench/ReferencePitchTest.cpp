#include "bench/ReferencePitch.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr double kRate = 44100.0;

// 2 s of a string-like tone whose partials are stretched (f_h = h f sqrt(1 + B h^2)), with a
// vibrato of `depthCents` at 5 Hz; `subOctave` adds the odd partials of f / 2.
std::vector<float> Note(double f, double stretch, double depthCents, double subOctave = 0.0) {
    std::vector<float> x(static_cast<std::size_t>(2.0 * kRate));
    std::vector<double> phase(24, 0.0);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = i / kRate;
        const double bend =
            std::pow(2.0, depthCents * std::sin(2.0 * std::numbers::pi * 5.0 * t) / 1200.0);
        double v = 0.0;
        for (int h = 1; h <= 12; ++h) {
            phase[h] +=
                2.0 * std::numbers::pi * h * f * std::sqrt(1.0 + stretch * h * h) * bend / kRate;
            v += std::sin(phase[h]) / h;
        }
        for (int h = 1; h <= 11 && subOctave > 0.0; h += 2)
            v += subOctave * std::sin(2.0 * std::numbers::pi * h * f / 2.0 * t) / h;
        x[i] = static_cast<float>(0.2 * v);
    }
    return x;
}

double Cents(double a, double b) {
    return 1200.0 * std::log2(a / b);
}

TEST(ReferencePitchTest, MeasuresTheFirstPartialUnderStretchAndVibrato) {
    const double f = 110.7;  // 12 cents above A2: the nominal pitch is only a starting point
    ReferencePitch steady = MeasureReferencePitch(Note(f, 0.0, 0.0), kRate, 110.0, 0.3, 2.0);
    EXPECT_LT(std::fabs(Cents(steady.hertz, f)), 0.05);
    EXPECT_LT(steady.halfPitchDb, -40.0);

    ReferencePitch piano = MeasureReferencePitch(Note(f, 4e-4, 0.0), kRate, 110.0, 0.3, 2.0);
    EXPECT_LT(std::fabs(Cents(piano.hertz, f)), 0.3);
    EXPECT_NEAR(piano.stretch, 4e-4, 1e-4);

    // The mean pitch under a vibrato of 30 cents, not where the smeared peak happens to lie.
    ReferencePitch vibrato = MeasureReferencePitch(Note(f, 0.0, 30.0), kRate, 110.0, 0.3, 2.0);
    EXPECT_LT(std::fabs(Cents(vibrato.hertz, f)), 1.0);

    // A rank an octave below sounding with the note shows as energy between its partials.
    EXPECT_GT(MeasureReferencePitch(Note(f, 0.0, 0.0, 0.5), kRate, 110.0, 0.3, 2.0).halfPitchDb,
              -20.0);
}

}  // namespace
