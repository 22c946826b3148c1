// Proves the test rig: what is played into the default sink can be recorded back from its
// monitor, and the virtual display answers.
#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/SoundDeviceCheck.h"

#include "tests/support/MonitorRecording.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kRate = 44100;

std::vector<std::int16_t> Tone(float frequency, float seconds) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(
            12000.0 * std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / kRate));
    return samples;
}

// The strongest of a few candidate frequencies, by correlation.
double PowerAt(const std::vector<std::int16_t>& samples, double frequency) {
    double re = 0, im = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double phase = 2.0 * M_PI * frequency * static_cast<double>(i) / kRate;
        re += samples[i] * std::cos(phase);
        im += samples[i] * std::sin(phase);
    }
    return (re * re + im * im) / static_cast<double>(samples.size());
}

TEST(RigSmokeTest, PlayedToneComesBackFromTheSinkMonitor) {
    ASSERT_NE(getenv("PULSE_SERVER"), nullptr) << "start the rig: scripts/rig start";
    Testing::TempDir dir;
    // A fresh sound server can take seconds before it records; play only once it does.
    Testing::MonitorRecording recording(dir.Path() / "recording.raw");
    ASSERT_TRUE(recording.Started());

    FILE* player = popen("pacat --playback --raw --format=s16le --rate=44100 --channels=1", "w");
    ASSERT_NE(player, nullptr);
    std::vector<std::int16_t> tone = Tone(1000.0f, 1.5f);
    fwrite(tone.data(), sizeof(std::int16_t), tone.size(), player);
    EXPECT_EQ(pclose(player), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::vector<std::int16_t> recorded = recording.Stop();
    ASSERT_GT(recorded.size(), static_cast<std::size_t>(kRate));
    double tonePower = PowerAt(recorded, 1000.0);
    EXPECT_GT(tonePower, 100.0 * PowerAt(recorded, 1500.0));
    EXPECT_GT(tonePower, 100.0 * PowerAt(recorded, 700.0));
}

TEST(RigSmokeTest, VirtualDisplayAnswers) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    EXPECT_EQ(system("xdpyinfo >/dev/null 2>&1"), 0);
}

TEST(RigSmokeTest, SoundDeviceCheckFindsTheRigsSoundCard) {
    ASSERT_NE(getenv("PULSE_SERVER"), nullptr) << "start the rig: scripts/rig start";
    EXPECT_TRUE(HasSoundDevice(0));
}

}  // namespace
