#include "audio/AudioSystem.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "tests/audio/TestDevice.h"

namespace {

using Testing::TestDevice;

class AudioSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        device = &TestDevice();
        audio = &DllAudioSystemInstance();
    }
    VirtualStreamBackend* device = nullptr;
    AudioSystem* audio = nullptr;
};

int Ramp(void*, void* output, unsigned long frames, double, void*) {
    for (unsigned long i = 0; i < frames; ++i) static_cast<float*>(output)[i] = i + 1.0f;
    return 0;
}

TEST_F(AudioSystemTest, InputOpensWhenStartedAndOutputOpensWithEachRestart) {
    // Nobody listens yet: no input stream at all, so nothing of the program records.
    EXPECT_EQ(device->InputStream(), nullptr);
    audio->StartInput();
    ASSERT_NE(device->InputStream(), nullptr);
    EXPECT_EQ(device->InputStream()->History(), std::vector<std::string>{"start"});
    audio->StopInput();
    EXPECT_EQ(device->OutputStream(), nullptr);
    EXPECT_FALSE(audio->IsOutputActive());

    EXPECT_EQ(audio->RestartOutput(44100, 4, &Ramp), 0);
    VirtualStream* first = device->OutputStream();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Clock(6), (std::vector<float>{1, 2, 3, 4, 1, 2}));
    EXPECT_EQ(audio->RestartOutput(44100, 4, &Ramp), 0);
    EXPECT_NE(device->OutputStream(), nullptr);
    EXPECT_EQ(device->OutputStream()->History(), std::vector<std::string>{"start"});
}

TEST_F(AudioSystemTest, LoopedOutputPlaysTheRenderedBufferOverAndOverUntilStopped) {
    int calls = 0;
    auto bar = [&calls](void*, void* output, unsigned long frames, double, void*) {
        ++calls;
        for (unsigned long i = 0; i < frames; ++i)
            static_cast<float*>(output)[i] = static_cast<float>(i);
        return 0;
    };
    ASSERT_EQ(audio->RestartOutputLooped(44100, 1000, bar), 0);
    VirtualStream* out = device->OutputStream();
    std::vector<float> played;
    for (int period = 0; period < 50; ++period) {
        std::vector<float> block = out->Clock(441);
        played.insert(played.end(), block.begin(), block.end());
    }
    EXPECT_EQ(calls, 1);
    for (std::size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], static_cast<float>(i % 1000)) << i;
    EXPECT_TRUE(audio->IsOutputActive());
    EXPECT_DOUBLE_EQ(audio->OutputTime(), 50 * 441 / 44100.0);

    // Phase of the position within its period, and exactly 1 at position 0 or when stopped.
    EXPECT_FLOAT_EQ(audio->OutputPhase(2.5f, 1.0f), 0.5f);
    EXPECT_FLOAT_EQ(audio->OutputPhase(0.75f, 2.0f), 0.375f);
    EXPECT_EQ(audio->OutputPhase(0.0f, 1.0f), 1.0f);
    EXPECT_EQ(audio->OutputPhase(3.0f, 0.0f), 1.0f) << "no period, no phase";

    audio->StopOutput();
    EXPECT_EQ(out->History().back(), "abort");
    EXPECT_FALSE(audio->IsOutputActive());
    EXPECT_EQ(audio->OutputPhase(2.5f, 1.0f), 1.0f);
}

TEST_F(AudioSystemTest, ARefusingDeviceLeavesItsCodeAndNothingElse) {
    device->openResult = -9985;
    EXPECT_EQ(audio->RestartOutputLooped(44100, 1000, &Ramp), -9985);
    EXPECT_EQ(audio->Output().LastError(), -9985);
    EXPECT_EQ(audio->OutputTime(), 0.0);
    EXPECT_FALSE(audio->IsOutputActive());
    EXPECT_EQ(audio->OutputPhase(0.5f, 1.0f), 1.0f);
    EXPECT_EQ(audio->RestartInput(44100, 512, &Ramp), -9985);
    EXPECT_EQ(audio->Input().LastError(), -9985);
    audio->StopOutput();
    audio->StartInput();
    EXPECT_NE(audio->Input().LastError(), 0);

    device->openResult = 0;
    EXPECT_EQ(audio->RestartOutputLooped(44100, 1000, &Ramp), 0);
    EXPECT_EQ(audio->Output().LastError(), 0);
    EXPECT_EQ(audio->RestartInput(44100, 512, &Ramp), 0);
    EXPECT_EQ(audio->RestoreInputAnalysis(), 0);
    audio->StopInput();
}

TEST_F(AudioSystemTest, InputIsReducedToAQuarterAndFeedsScopeAndAnalysis) {
    audio->StartInput();
    VirtualStream* in = device->InputStream();
    ASSERT_NE(in, nullptr);
    // Input sample i has the value i. The reduction's low-pass is symmetric with unit gain, so
    // a ramp comes out as itself, delayed by half the filter: output k is input 4k + 3 - 96,
    // once the filter has a full history.
    std::vector<float> input(512 * 4);
    for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<float>(i);
    std::vector<float> frame;
    for (int buffer = 0; buffer < 4; ++buffer) {
        in->Clock(512, input.data() + 512 * buffer);
        ASSERT_TRUE(DllAnalysisFrameInstance().TakeIfNew(frame)) << "a frame per buffer";
        ASSERT_EQ(frame.size(), 2048u);
        EXPECT_NEAR(frame.back(), 4.0f * (128 * buffer + 127) - 93.0f, 0.1f);
    }
    EXPECT_NEAR(frame[2048 - 512 + 48], 4.0f * 48 - 93.0f, 0.1f);
    std::vector<float> scope;
    DllScopeBufferInstance().CopyTo(scope);
    ASSERT_EQ(scope.size(), 512u);
    for (std::size_t k = 48; k < scope.size(); ++k) ASSERT_NEAR(scope[k], 4.0f * k - 93.0f, 0.1f);

    // Another callback takes over the input; restoring brings the analysis back.
    int calls = 0;
    audio->RestartInput(44100, 512, [&calls](void*, void*, unsigned long, double, void*) {
        ++calls;
        return 0;
    });
    device->InputStream()->Clock(512, input.data());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(DllAnalysisFrameInstance().TakeIfNew(frame));
    EXPECT_EQ(audio->RestoreInputAnalysis(), 0);
    device->InputStream()->Clock(512, input.data());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(DllAnalysisFrameInstance().TakeIfNew(frame));
    // Stopped, the input is closed: nothing of the program records.
    audio->StopInput();
    EXPECT_FALSE(audio->Input().IsOpen());
}

}  // namespace
