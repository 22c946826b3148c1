// The ALSA mixer against the rig's PulseAudio: its "default" control device shows "Master"
// and "Capture".
#include <stdio.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "audio/MixerBackend.h"
#include "audio/VolumeControl.h"

namespace {

std::string Run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
    return out;
}

// The first channel's percent in `pactl get-sink-volume`, -1 when not found.
int SinkPercent() {
    std::smatch match;
    std::string text = Run("pactl get-sink-volume @DEFAULT_SINK@");
    if (!std::regex_search(text, match, std::regex(R"((\d+)%)"))) return -1;
    return std::stoi(match[1]);
}

TEST(MixerRigTest, VolumeFollowsThePulseAudioSink) {
    VolumeControl control(MakeAlsaMixerBackend());
    EXPECT_FALSE(control.InputLineNames().empty());
    EXPECT_EQ(control.InputGain(), 32768);

    control.SetOutputVolume(50);
    EXPECT_NEAR(SinkPercent(), 50, 1);
    EXPECT_EQ(control.GetOutputVolume(), 50);

    int calls = 0;
    control.AddOutputVolumeListener([&] { ++calls; });
    control.Poll();
    EXPECT_EQ(calls, 0);
    ASSERT_EQ(std::system("pactl set-sink-volume @DEFAULT_SINK@ 30%"), 0);
    // The change arrives asynchronously; poll as the GUI timer would, for at most 5 s.
    for (int i = 0; i < 100 && calls == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        control.Poll();
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(control.GetOutputVolume(), 30);
    control.SetOutputVolume(100);
}

}  // namespace
