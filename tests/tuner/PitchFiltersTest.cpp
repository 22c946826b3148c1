#include "tuner/PitchFilters.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TEST(JumpFilterTest, FirstValuePassesAndSmallChangesFollow) {
    JumpFilter filter;
    EXPECT_FLOAT_EQ(filter(440.0f), 440.0f);
    EXPECT_FLOAT_EQ(filter.LastAccepted(), 440.0f);
    EXPECT_FLOAT_EQ(filter(452.0f), 452.0f);  // within 25 Hz: passes, not accepted
    EXPECT_FLOAT_EQ(filter.LastAccepted(), 440.0f);
}

TEST(JumpFilterTest, AJumpWaitsUntilFiveEstimatesAgree) {
    JumpFilter filter;
    for (int i = 0; i < 5; ++i) filter(440.0f);
    EXPECT_FLOAT_EQ(filter(880.0f), 440.0f);  // a single octave error is held back
    EXPECT_FLOAT_EQ(filter(440.5f), 440.5f);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(filter(330.0f), 440.0f) << i;
    EXPECT_FLOAT_EQ(filter(330.0f), 330.0f);  // five in a row
    EXPECT_FLOAT_EQ(filter.LastAccepted(), 330.0f);
    EXPECT_FLOAT_EQ(filter(331.0f), 331.0f);
}

TEST(AverageFilterTest, ExponentialAverageOverTheLastTen) {
    AverageFilter filter;
    EXPECT_DOUBLE_EQ(filter(100.0), 100.0);
    EXPECT_DOUBLE_EQ(filter(200.0), 100.0 + (200.0 - 100.0) * 2.0 / 3.0);
    AverageFilter small;
    small(1.0);
    small(2.0);
    // alpha = 0.5 over (1, 2, 3): r = 1, then 1, 1.5, 2.25
    EXPECT_DOUBLE_EQ(small(3.0), 2.25);

    AverageFilter steady;
    for (int i = 0; i < 10; ++i) steady(440.0);
    double moved = 0.0;
    for (int i = 0; i < 10; ++i) moved = steady(330.0);
    EXPECT_DOUBLE_EQ(moved, 330.0);  // the history forgets everything older than ten values
}

TEST(DisplayFilterTest, HoldsBackTheChangesOfLowNotesThatTheJumpFilterLetsThrough) {
    DisplayFilter display;
    display(40.0f);  // an attack's first estimate, accepted by the jump filter
    for (int i = 0; i < 10; ++i) display(41.2f);
    // E1 to A1 is less than 25 Hz: the jump filter passes it, the display waits for five.
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(display(55.0f), 41.2, 1e-3) << i;
    EXPECT_FLOAT_EQ(static_cast<float>(display(55.0f)), 55.0f);
    // One estimate a semitone off inside the note never shows.
    EXPECT_NEAR(display(51.9f), 55.0, 1e-3);
}

TEST(DisplayFilterTest, StepsFromNoteToNoteAndSmoothsWithinOne) {
    DisplayFilter display;
    for (int i = 0; i < 10; ++i) display(110.0f + (i % 2 ? 0.2f : -0.2f));
    EXPECT_NEAR(display.Shown(), 110.0, 0.1);
    EXPECT_LT(std::fabs(display.Shown() - 110.0), 0.2);  // averaged, not the last value
    // An octave error inside the note never shows; a new note shows at once, not averaged
    // with the old one.
    EXPECT_NEAR(display(220.0f), 110.0, 0.2);
    for (int i = 0; i < 5; ++i) display(146.8f);
    EXPECT_FLOAT_EQ(static_cast<float>(display.Shown()), 146.8f);
    // The average over the new note alone: alpha 2/3 over its two values.
    EXPECT_NEAR(display(147.0f), 146.8 + (147.0 - 146.8) * 2.0 / 3.0, 1e-4);
}

}  // namespace
