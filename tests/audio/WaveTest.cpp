// Waves on the virtual device.
#include "audio/Wave.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "tests/audio/TestDevice.h"

namespace {

using Testing::TestDevice;

int Ones(void*, void* output, unsigned long frames, double, void*) {
    for (unsigned long i = 0; i < frames; ++i) static_cast<float*>(output)[i] = 1.0f;
    return 0;
}

TEST(WaveTest, LifecycleInitialisesOpensStartsStopsAndTerminates) {
    if (!Testing::EntryPointsLeft(2)) GTEST_SKIP() << "entry points used up in this process";
    VirtualStreamBackend& device = TestDevice();
    int initialised = device.initializations;
    int terminated = device.terminations;
    {
        WaveOut out(44100, 64, true);
        EXPECT_EQ(device.initializations, initialised + 1);
        ASSERT_TRUE(out.IsOpen());
        EXPECT_EQ(out.LastError(), 0);
        out.SetCallback(&Ones, nullptr);
        EXPECT_FALSE(out.IsActive());
        EXPECT_EQ(out.Start(false), 0);
        EXPECT_TRUE(out.IsActive());
        EXPECT_EQ(out.LastError(), 0) << "a running stream is no error";
        std::vector<float> played = device.OutputStream()->Clock(100);
        EXPECT_EQ(played, std::vector<float>(100, 1.0f));
        EXPECT_EQ(out.GetStreamTime(), 100.0);
        device.latencyFrames = 30;  // what is still in the device is not played yet
        EXPECT_EQ(out.GetStreamTime(), 70.0);
        device.latencyFrames = 300;
        EXPECT_EQ(out.GetStreamTime(), 0.0);
        device.latencyFrames = 0;
        EXPECT_NE(out.Start(true), 0) << "a running stream cannot start again";
        EXPECT_EQ(out.GetStreamTime(), 100.0) << "and keeps its position";
        EXPECT_TRUE(out.IsActive());
        EXPECT_EQ(out.Stop(), 0);
        EXPECT_EQ(device.OutputStream()->History().back(), "abort") << "output stops at once";
        EXPECT_TRUE(out.Close());
        EXPECT_FALSE(out.IsOpen());
        EXPECT_FALSE(out.Close());
        EXPECT_EQ(out.LastError(), kBadStreamPtr);
        EXPECT_EQ(out.Start(true), kBadStreamPtr);

        WaveIn in(44100, 512);
        ASSERT_TRUE(in.IsOpen()) << "the input opens when built";
        EXPECT_EQ(device.InputStream()->Parameters().inputChannels, 1);
        EXPECT_EQ(device.InputStream()->Parameters().sampleRate, 44100.0);
        in.Start(true);
        in.Stop();
        EXPECT_EQ(device.InputStream()->History().back(), "stop") << "input finishes its buffer";
        in.Close();
    }
    EXPECT_EQ(device.initializations - initialised, 2);
    EXPECT_EQ(device.terminations - terminated, 2);
}

TEST(WaveTest, UserDataDefaultsToTheWaveAndOnlyANonNullValueReplacesIt) {
    if (!Testing::EntryPointsLeft(1)) GTEST_SKIP() << "entry points used up in this process";
    TestDevice();
    WaveOut out(44100, 8, true);
    void* seen = nullptr;
    auto record = [&seen](void*, void*, unsigned long, double, void* userData) {
        seen = userData;
        return 0;
    };
    out.SetCallback(record, nullptr);
    out.Start(false);
    TestDevice().OutputStream()->Clock(8);
    EXPECT_NE(seen, nullptr);
    void* own = seen;
    int mine = 0;
    out.SetCallback(record, &mine);
    out.Start(false);
    TestDevice().OutputStream()->Clock(8);
    EXPECT_EQ(seen, &mine);
    EXPECT_NE(own, &mine);
    out.SetCallback(record, nullptr);
    out.Start(false);
    TestDevice().OutputStream()->Clock(8);
    EXPECT_EQ(seen, &mine);
    out.Close();
}

TEST(WaveTest, FailuresLandInLastErrorAndNothingThrows) {
    if (!Testing::EntryPointsLeft(2)) GTEST_SKIP() << "entry points used up in this process";
    VirtualStreamBackend& device = TestDevice();
    device.openResult = -9996;
    WaveOut refused(44100, 512, true);
    EXPECT_EQ(refused.LastError(), -9996);
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_FALSE(refused.IsActive());
    EXPECT_EQ(refused.Start(true), kBadStreamPtr);

    device.openResult = 0;
    device.initializeResult = -10000;
    WaveIn uninitialised(44100, 512);
    EXPECT_NE(uninitialised.LastError(), 0) << "a failed initialisation makes the open fail";
    EXPECT_FALSE(uninitialised.IsOpen());

    device.initializeResult = 0;
    EXPECT_EQ(refused.Open(0, 1, 0x8 /* 16-bit */, 44100, 512, 0), kSampleFormatNotSupported);
}

TEST(WaveTest, TheNinthStreamGetsNoEntryPointAndCannotOpen) {
    TestDevice();
    std::vector<std::unique_ptr<WaveOut>> waves;
    while (DllCallbackPoolInstance().Registered() < CallbackPool::kSize) {
        waves.push_back(std::make_unique<WaveOut>(44100, 64, true));
        EXPECT_TRUE(waves.back()->HasEntryPoint());
        EXPECT_EQ(waves.back()->LastError(), 0);
    }
    WaveOut ninth(44100, 64, true);
    EXPECT_FALSE(ninth.HasEntryPoint());
    EXPECT_EQ(ninth.LastError(), -9990);
    EXPECT_EQ(ninth.OpenDefault(44100, 64), -9990);
    EXPECT_FALSE(ninth.IsOpen());

    // Every entry point still reaches its own stream (the device's latest open stream is the
    // last wave still open).
    for (std::size_t i = waves.size(); i-- > 0;) {
        float value = static_cast<float>(i + 1);
        waves[i]->SetCallback(
            [value](void*, void* output, unsigned long frames, double, void*) {
                for (unsigned long k = 0; k < frames; ++k) static_cast<float*>(output)[k] = value;
                return 0;
            },
            nullptr);
        waves[i]->Start(false);
        EXPECT_EQ(TestDevice().OutputStream()->Clock(4), std::vector<float>(4, value));
        waves[i]->Close();
    }
}

}  // namespace
