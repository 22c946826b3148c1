#include "audio/InputPath.h"

#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AnalysisFrame.h"

namespace {

struct Delivery {
    std::vector<std::vector<float>> blocks;
    SampleSink Sink() {
        return [this](const float* s, int n) { blocks.emplace_back(s, s + n); };
    }
};

std::vector<float> Ramp(int count, float start = 0.0f) {
    std::vector<float> v(static_cast<std::size_t>(count));
    std::iota(v.begin(), v.end(), start);
    return v;
}

TEST(InputPathTest, ReductionAveragesWholeGroupsOnly) {
    std::vector<float> samples = {1, 3, 5, 7, 2, 2, 2, 2, 9};
    EXPECT_EQ(ReduceInPlace(samples.data(), 9, 4), 2);
    EXPECT_FLOAT_EQ(samples[0], 4.0f);
    EXPECT_FLOAT_EQ(samples[1], 2.0f);
    std::vector<float> shorter = {1, 2, 3};
    EXPECT_EQ(ReduceInPlace(shorter.data(), 3, 4), 0);
    EXPECT_EQ(ReduceInPlace(shorter.data(), 3, 1), 3);
    EXPECT_FLOAT_EQ(shorter[0], 1.0f);
    std::vector<float> buffer = Ramp(512);
    EXPECT_EQ(ReduceInPlace(buffer.data(), 512, 4), 128);
    EXPECT_FLOAT_EQ(buffer[127], (508 + 509 + 510 + 511) / 4.0f);
}

TEST(InputPathTest, BlockCollectorDeliversWholeBlocksAndDropsOverflow) {
    Delivery delivered;
    BlockCollector collector(512, delivered.Sink());
    std::vector<float> push = Ramp(128);
    for (int i = 0; i < 3; ++i) collector.Push(push.data(), 128);
    EXPECT_TRUE(delivered.blocks.empty());
    std::vector<float> overflow = Ramp(200, 1000);
    collector.Push(overflow.data(), 200);  // 128 fit, 72 are dropped
    ASSERT_EQ(delivered.blocks.size(), 1u);
    EXPECT_EQ(delivered.blocks[0].size(), 512u);
    EXPECT_FLOAT_EQ(delivered.blocks[0][384], 1000.0f);
    EXPECT_FLOAT_EQ(delivered.blocks[0][511], 1127.0f);
    EXPECT_EQ(collector.Position(), 0);

    // A push of a whole block or more goes straight through and leaves the position.
    collector.Push(push.data(), 100);
    std::vector<float> big = Ramp(600, 5);
    collector.Push(big.data(), 600);
    ASSERT_EQ(delivered.blocks.size(), 2u);
    EXPECT_EQ(delivered.blocks[1], std::vector<float>(big.begin(), big.begin() + 512));
    EXPECT_EQ(collector.Position(), 100);
    collector.Push(push.data(), 0);
    EXPECT_EQ(collector.Position(), 100);
}

TEST(InputPathTest, SlidingFrameAdvancesByTheHop) {
    Delivery delivered;
    SlidingFrame frame(2048, 128, delivered.Sink());
    for (int i = 0; i < 17; ++i) {
        std::vector<float> push = Ramp(128, static_cast<float>(i * 128));
        frame.Push(push.data(), 128);
    }
    ASSERT_EQ(delivered.blocks.size(), 17u);
    // After 17 pushes the frame holds samples 128..2175, oldest first.
    EXPECT_EQ(delivered.blocks.back(), Ramp(2048, 128));
    // The first frame starts from zeros.
    EXPECT_FLOAT_EQ(delivered.blocks.front()[0], 0.0f);
    EXPECT_FLOAT_EQ(delivered.blocks.front()[2047], 127.0f);

    std::vector<float> whole = Ramp(3000, 7);
    std::vector<float> before = frame.Frame();
    frame.Push(whole.data(), 3000);
    EXPECT_EQ(delivered.blocks.back(), std::vector<float>(whole.begin(), whole.begin() + 2048));
    EXPECT_EQ(frame.Frame(), before);
    EXPECT_EQ(frame.Filled(), 0);
}

TEST(InputPathTest, AnalysisFrameHandsOverEachFrameOnce) {
    AnalysisFrame store;
    std::vector<float> out = {42};
    EXPECT_TRUE(store.TakeIfNew(out));  // new when built, even while empty
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(store.TakeIfNew(out));
    std::vector<float> frame = Ramp(2048);
    store.Deliver(frame.data(), 2048);
    EXPECT_TRUE(store.HasNewFrame());
    EXPECT_TRUE(store.TakeIfNew(out));
    EXPECT_EQ(out, frame);
    EXPECT_FALSE(store.TakeIfNew(out));
}

}  // namespace
