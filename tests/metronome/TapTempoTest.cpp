#include "metronome/TapTempo.h"

#include <random>

#include <gtest/gtest.h>

namespace {

TEST(TapTempoTest, JitteryTapsGiveTheirTempoAndAPauseStartsAgain) {
    // Taps 20 ms early and late in turn around a 500 ms beat: intervals of 460 and 540 ms.
    TapTempo taps;
    double at = 10.0;
    EXPECT_EQ(taps.Tap(at), 0);  // one tap is no tempo yet
    for (int i = 1; i <= 12; ++i) {
        at = 10.0 + 0.5 * i + (i % 2 ? 0.02 : -0.02);
        const int bpm = taps.Tap(at);
        if (i >= 5) {
            EXPECT_EQ(bpm, 120) << i;  // four such intervals: the median is the beat
        }
    }
    // Random jitter of as much: one stray tap does not move the tempo far.
    std::mt19937 random(3);
    std::uniform_real_distribution<double> jitter(-0.02, 0.02);
    TapTempo human;
    for (int i = 0; i < 40; ++i) {
        const int bpm = human.Tap(100.0 + 0.5 * i + jitter(random));
        if (i >= 4) {
            EXPECT_NEAR(bpm, 120, 6) << i;
        }
    }
    // Longer than two seconds: a new count; the next interval alone sets the tempo.
    EXPECT_EQ(taps.Tap(at + 2.5), 0);
    EXPECT_EQ(taps.Tap(at + 3.5), 60);
    // Out of range both ways: clamped to what the metronome plays.
    TapTempo fast, slow;
    for (double t : {0.0, 0.005, 0.010}) fast.Tap(t);
    EXPECT_EQ(fast.Tap(0.015), 5000);
    slow.Tap(0.0);
    EXPECT_EQ(slow.Tap(1.99), 30);
}

}  // namespace
