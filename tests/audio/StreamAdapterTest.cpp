#include "audio/StreamAdapter.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

// A callback that numbers its output samples 1, 2, 3, ... across calls and records each call.
// It runs where the device thread would, so its records have their room from the start.
struct Counter {
    Counter() {
        frames.reserve(64);
        times.reserve(64);
        input.reserve(4096);
    }
    float next = 1.0f;
    std::vector<unsigned long> frames;
    std::vector<double> times;
    std::vector<float> input;  // every input sample handed on, in order
    int stopAfter = -1;

    static int Callback(void* input, void* output, unsigned long n, double time, void* self) {
        auto& c = *static_cast<Counter*>(self);
        c.frames.push_back(n);
        c.times.push_back(time);
        if (input) {
            auto* in = static_cast<float*>(input);
            c.input.insert(c.input.end(), in, in + n);
        }
        if (output)
            for (unsigned long i = 0; i < n; ++i) static_cast<float*>(output)[i] = c.next++;
        return static_cast<int>(c.frames.size()) == c.stopAfter ? 1 : 0;
    }
};

// Device periods of awkward sizes, over and over.
std::vector<float> Drive(StreamAdapter& adapter, unsigned long total, int* lastResult = nullptr) {
    const unsigned long sizes[] = {100, 300, 37, 1000, 1, 512};
    std::vector<float> played;
    for (unsigned long done = 0, i = 0; done < total; ++i) {
        unsigned long n = std::min(sizes[i % 6], total - done);
        std::vector<float> out(n, -1.0f);
        int result = adapter.Process(nullptr, out.data(), n, kNoStreamTime);
        if (lastResult) *lastResult = result;
        played.insert(played.end(), out.begin(), out.end());
        done += n;
    }
    return played;
}

TEST(StreamAdapterTest, OutputIsCutFromWholeUserBuffersWhateverTheDevicePeriod) {
    Counter counter;
    StreamAdapter adapter;
    adapter.Configure(0, 1, 512);
    adapter.SetTarget(&Counter::Callback, &counter);
    adapter.Reset();
    std::vector<float> played = Drive(adapter, 5000);
    for (std::size_t i = 0; i < played.size(); ++i) ASSERT_EQ(played[i], i + 1.0f) << i;
    ASSERT_EQ(counter.frames.size(), 10u);  // ceil(5000 / 512)
    for (std::size_t k = 0; k < counter.frames.size(); ++k) {
        EXPECT_EQ(counter.frames[k], 512u);
        EXPECT_EQ(counter.times[k], 512.0 * static_cast<double>(k));  // first frame of the buffer
    }
    EXPECT_EQ(adapter.FramesProcessed(), 5000.0);
}

TEST(StreamAdapterTest, LoopedStartRendersOnceAndRepeatsSampleForSample) {
    Counter counter;
    StreamAdapter adapter;
    adapter.Configure(0, 1, 700);
    adapter.SetTarget(&Counter::Callback, &counter);
    adapter.PrimeLoop();
    ASSERT_EQ(counter.frames.size(), 1u);
    std::vector<float> played = Drive(adapter, 700 * 7 + 123);
    EXPECT_EQ(counter.frames.size(), 1u) << "no callback after the loop was rendered";
    for (std::size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], static_cast<float>(i % 700 + 1)) << i;

    // A plain start afterwards asks the callback again.
    adapter.Reset();
    Drive(adapter, 10);
    EXPECT_EQ(counter.frames.size(), 2u);
}

TEST(StreamAdapterTest, InputIsHandedOnInWholeBuffersAsSoonAsOneIsFull) {
    Counter counter;
    StreamAdapter adapter;
    adapter.Configure(1, 0, 512);
    adapter.SetTarget(&Counter::Callback, &counter);
    adapter.Reset();
    std::vector<float> input(1024);
    for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<float>(i);
    adapter.Process(input.data(), nullptr, 500, kNoStreamTime);
    EXPECT_TRUE(counter.frames.empty());
    adapter.Process(input.data() + 500, nullptr, 12, kNoStreamTime);
    ASSERT_EQ(counter.frames, std::vector<unsigned long>{512});
    adapter.Process(input.data() + 512, nullptr, 512, kNoStreamTime);
    ASSERT_EQ(counter.frames, (std::vector<unsigned long>{512, 512}));
    EXPECT_EQ(counter.input, input);
}

TEST(StreamAdapterTest, ACallbackAskingToStopEndsTheStreamAfterItsBufferPlayed) {
    Counter counter;
    counter.stopAfter = 2;
    StreamAdapter adapter;
    adapter.Configure(0, 1, 100);
    adapter.SetTarget(&Counter::Callback, &counter);
    adapter.Reset();
    std::vector<float> out(250, -1.0f);
    EXPECT_NE(adapter.Process(nullptr, out.data(), 250, kNoStreamTime), 0);
    EXPECT_EQ(out[199], 200.0f);  // the second buffer played whole
    EXPECT_EQ(out[200], 0.0f);    // then silence
    EXPECT_EQ(counter.frames.size(), 2u);
}

}  // namespace
