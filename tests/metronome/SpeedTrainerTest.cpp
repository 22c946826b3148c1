#include "metronome/SpeedTrainer.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<int> Tempos(const SpeedTrainer& trainer, int bars) {
    std::vector<int> tempos;
    for (int bar = 0; bar < bars; ++bar) tempos.push_back(trainer.TempoOfBar(bar));
    return tempos;
}

TEST(SpeedTrainerTest, StepsEverySoManyBarsAndStopsOrLoopsAtTheTarget) {
    // The last step stops at the target, even when the step would pass it.
    SpeedTrainer up({100, 110, 4, 2, false});
    EXPECT_EQ(Tempos(up, 9), (std::vector<int>{100, 100, 104, 104, 108, 108, 110, 110, 110}));
    EXPECT_EQ(up.NextChangeAfter(0), 2u);
    EXPECT_EQ(up.NextChangeAfter(5), 6u);
    EXPECT_EQ(up.NextChangeAfter(6), 0u);  // at the target for good

    SpeedTrainer down({120, 110, 5, 1, true});
    EXPECT_EQ(Tempos(down, 7), (std::vector<int>{120, 115, 110, 120, 115, 110, 120}));
    EXPECT_EQ(down.NextChangeAfter(2), 3u);

    // Nonsense is made sensible: tempos in range, steps and bars at least one.
    SpeedTrainer odd({5, 6000, 0, -3, false});
    EXPECT_EQ(odd.TempoOfBar(0), 10);
    EXPECT_EQ(odd.TempoOfBar(1), 11);
    EXPECT_EQ(odd.TempoOfBar(1000000), 5000);
    EXPECT_EQ(SpeedTrainer({90, 90, 4, 4, true}).NextChangeAfter(0), 0u);
}

}  // namespace
