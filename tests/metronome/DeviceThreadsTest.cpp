// The GUI thread reads what the device threads write while the streams start, stop and close
// over and over. Built with ONDREL_TSAN, ThreadSanitizer checks every hand-over on the way.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AnalysisFrame.h"
#include "audio/AudioSystem.h"
#include "audio/ScopeBuffer.h"
#include "metronome/PlaybackEngine.h"
#include "metronome/RecordBuffer.h"
#include "tests/audio/TestDevice.h"

namespace {

TEST(DeviceThreadsTest, TheGuiReadsWhileTheDevicesWriteAndTheStreamsComeAndGo) {
    VirtualStreamBackend& device = Testing::TestDevice();
    AudioSystem& audio = DllAudioSystemInstance();
    RecordBuffer& record = DllRecordBufferInstance();
    constexpr int kBuffers = 40;
    std::vector<float> scope, frame;
    for (int round = 0; round < 12; ++round) {
        audio.StopInput();
        record.Clear();
        ASSERT_EQ(audio.RestartInput(44100, 512, RecordingInput(record, audio)), 0);
        ASSERT_EQ(audio.RestartOutput(44100, 512, &RecordingLoopCallback, &record), 0);
        VirtualStream* in = device.InputStream();
        VirtualStream* out = device.OutputStream();
        std::atomic<bool> inputDone{false}, outputDone{false};
        // Buffer i holds the value i + 1 throughout.
        std::thread input([&] {
            std::vector<float> buffer(512);
            for (int i = 0; i < kBuffers; ++i) {
                std::fill(buffer.begin(), buffer.end(), static_cast<float>(i + 1));
                in->ClockInto(512, buffer.data(), nullptr);
            }
            inputDone = true;
        });
        std::thread output([&] {
            std::vector<float> played(700);
            while (!outputDone) out->ClockInto(700, nullptr, played.data());
        });
        bool torn = false;
        while (!inputDone) {
            DllScopeBufferInstance().CopyTo(scope);
            DllAnalysisFrameInstance().TakeIfNew(frame);
            audio.SoundingTime();
            // A block counted is a block written.
            if (const std::size_t blocks = record.BlockCount()) {
                const std::vector<float> last = record.BlockSamples(blocks - 1);
                torn = torn || std::any_of(last.begin(), last.end(), [blocks](float v) {
                           return v != static_cast<float>(blocks);
                       });
            }
        }
        input.join();
        EXPECT_FALSE(torn) << "round " << round;
        EXPECT_EQ(record.BlockCount(), static_cast<std::size_t>(kBuffers));
        // A new recording's storage is cleared while the old one still plays.
        audio.StopInput();
        record.Clear();
        outputDone = true;
        output.join();
        audio.CloseStreams();
    }
}

}  // namespace
