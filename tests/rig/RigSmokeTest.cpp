// Proves the test rig: what is played into the default sink can be recorded back from its
// monitor, and the virtual display answers.
#include <stdio.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

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
    // Record from the monitor as it goes; play only once the recorder is really running.
    Testing::TempDir dir;
    std::string pidFile = (dir.Path() / "parec.pid").string();
    std::string command = "echo $$ > '" + pidFile +
                          "'; exec parec --raw --format=s16le --rate=44100 --channels=1 "
                          "--latency-msec=20 --device=@DEFAULT_MONITOR@ 2>/dev/null";
    FILE* recorder = popen(command.c_str(), "r");
    ASSERT_NE(recorder, nullptr);
    std::vector<std::int16_t> recorded;
    std::atomic<std::size_t> count{0};
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        std::int16_t block[1024];
        std::size_t got = 0;
        while (!stop && (got = fread(block, sizeof(std::int16_t), 1024, recorder)) > 0) {
            recorded.insert(recorded.end(), block, block + got);
            count = recorded.size();
        }
    });
    auto waitFor = [&count](std::size_t samples) {
        for (int i = 0; i < 1000 && count < samples; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    waitFor(kRate / 10);
    std::size_t before = count;

    FILE* player = popen("pacat --playback --raw --format=s16le --rate=44100 --channels=1", "w");
    ASSERT_NE(player, nullptr);
    std::vector<std::int16_t> tone = Tone(1000.0f, 1.5f);
    fwrite(tone.data(), sizeof(std::int16_t), tone.size(), player);
    EXPECT_EQ(pclose(player), 0);
    waitFor(before + tone.size() + kRate / 2);
    stop = true;
    std::string stopRecorder = "kill -INT $(cat '" + pidFile + "')";
    (void)system(stopRecorder.c_str());
    reader.join();
    pclose(recorder);

    ASSERT_GT(recorded.size(), before + tone.size());
    double tonePower = PowerAt(recorded, 1000.0);
    EXPECT_GT(tonePower, 100.0 * PowerAt(recorded, 1500.0));
    EXPECT_GT(tonePower, 100.0 * PowerAt(recorded, 700.0));
}

TEST(RigSmokeTest, VirtualDisplayAnswers) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "start the rig: scripts/rig start";
    EXPECT_EQ(system("xdpyinfo >/dev/null 2>&1"), 0);
}

}  // namespace
