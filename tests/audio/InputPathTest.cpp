#include "audio/InputPath.h"

#include <algorithm>
#include <cmath>
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

std::vector<float> Sine(double frequency, int count, double rate = 44100.0) {
    std::vector<float> v(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        v[i] = static_cast<float>(std::sin(2.0 * M_PI * frequency * i / rate));
    return v;
}

double Rms(const std::vector<float>& v, std::size_t from) {
    double sum = 0.0;
    for (std::size_t i = from; i < v.size(); ++i) sum += double(v[i]) * v[i];
    return std::sqrt(sum / static_cast<double>(v.size() - from));
}

// Reduces a whole signal in the pieces given, as buffers of those sizes would arrive.
std::vector<float> Reduce(const std::vector<float>& in, const std::vector<int>& pieces) {
    Decimator decimator(4, 44100.0, Decimator::kTunerCutoffHz);
    std::vector<float> out(in.size());
    std::size_t at = 0;
    int written = 0;
    for (std::size_t p = 0; at < in.size(); ++p) {
        int n = std::min<int>(pieces[p % pieces.size()], static_cast<int>(in.size() - at));
        written += decimator.Process(in.data() + at, n, out.data() + written);
        at += static_cast<std::size_t>(n);
    }
    out.resize(static_cast<std::size_t>(written));
    return out;
}

TEST(InputPathTest, ReductionKeepsTheBandAndRemovesWhatWouldFoldIntoIt) {
    // A quarter of the samples come out, whatever the buffer sizes, with the same values.
    std::vector<float> tone = Sine(440.0, 44100);
    std::vector<float> whole = Reduce(tone, {512});
    EXPECT_EQ(whole.size(), 11025u);
    EXPECT_EQ(Reduce(tone, {5, 7, 500, 3}), whole);

    // Tones in the band keep their level; above 5.5 kHz they are gone instead of folding back
    // (7 kHz would land at 4025 Hz, 9 kHz at 2025 Hz).
    const std::size_t settled = Decimator::kTaps;
    EXPECT_NEAR(Rms(whole, settled), std::sqrt(0.5), 0.005);
    EXPECT_NEAR(Rms(Reduce(Sine(2500.0, 44100), {512}), settled), std::sqrt(0.5), 0.01);
    for (double above : {6000.0, 7000.0, 9000.0, 15000.0})
        EXPECT_LT(Rms(Reduce(Sine(above, 44100), {512}), settled), std::sqrt(0.5) * 1e-3) << above;

    // Direct current passes at unit gain; reduction by less than 2 passes samples through.
    std::vector<float> dc(4096, 0.25f);
    EXPECT_NEAR(Reduce(dc, {512}).back(), 0.25f, 1e-5);
    Decimator none(1, 44100.0, 5000.0);
    std::vector<float> out(3);
    std::vector<float> three = {1, 2, 3};
    EXPECT_EQ(none.Process(three.data(), 3, out.data()), 3);
    EXPECT_EQ(out, three);
    EXPECT_EQ(none.Process(three.data(), 0, out.data()), 0);
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

TEST(InputPathTest, AnalysisFramesSlideByTheHopAndSkipAStaleBacklog) {
    AnalysisFrame store;
    std::vector<float> out = {42};
    EXPECT_TRUE(store.TakeIfNew(out));  // new when built, even while empty
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(store.TakeIfNew(out));

    // Samples arrive in pieces that are not hops; each hop makes one frame, oldest first,
    // starting from silence.
    const std::vector<float> ramp = Ramp(8192, 1.0f);
    store.Deliver(ramp.data(), 100);
    EXPECT_FALSE(store.HasNewFrame());
    store.Deliver(ramp.data() + 100, 300);
    std::vector<std::vector<float>> frames;
    while (store.TakeIfNew(out)) frames.push_back(out);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].size(), 2048u);
    EXPECT_FLOAT_EQ(frames[0][2047 - 128], 0.0f);
    EXPECT_EQ(std::vector<float>(frames[0].end() - 128, frames[0].end()), Ramp(128, 1.0f));
    EXPECT_EQ(std::vector<float>(frames[2].end() - 384, frames[2].end()), Ramp(384, 1.0f));

    // A GUI held up: what does not fit is dropped, and of the backlog only the newest whole
    // frame is taken.
    store.Deliver(ramp.data() + 400, 7000);
    ASSERT_TRUE(store.TakeIfNew(out));
    EXPECT_EQ(out, Ramp(2048, 385.0f)) << "the newest frame, ending at the last sample kept";
    EXPECT_FALSE(store.TakeIfNew(out));
}

TEST(InputPathTest, TheNextPieceIsDueAPieceAfterTheLast) {
    using std::chrono::milliseconds;
    AnalysisFrame store;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_LT(store.NextPieceDue(11025.0), start) << "none has come: nothing to wait for";
    // A host's 60 ms piece, handed over in five callbacks in a row, then the next.
    for (int i = 0; i < 5; ++i) store.EndCallback(132, start + std::chrono::microseconds(50 * i));
    const auto pieceEnd = start + std::chrono::microseconds(200);
    EXPECT_NEAR(std::chrono::duration<double>(store.NextPieceDue(11025.0) - pieceEnd).count(),
                660 / 11025.0, 1e-6);
    store.EndCallback(132, start + milliseconds(60));  // a new piece, alone
    EXPECT_NEAR(std::chrono::duration<double>(store.NextPieceDue(11025.0) - start).count(),
                0.060 + 132 / 11025.0, 1e-6);
}

}  // namespace
