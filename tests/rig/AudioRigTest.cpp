// A bar at 114 BPM with the accent on 4, played through the real PortAudio stream into the
// rig's null sink and recorded back from its monitor.
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

#include "audio/AudioSystem.h"
#include "metronome/PlaybackEngine.h"
#include "settings/AppSettings.h"
#include "tests/support/MonitorRecording.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kRate = 44100;
constexpr long kBeat = 23197;
constexpr long kClick = 11598;
// The jitter allowed: one device period. PortAudio picks the period; on the rig it is a
// fraction of the stream's 35 ms latency, so this many frames bounds it safely. The bar loops
// from memory, so what is measured is in fact no deviation at all.
constexpr long kDevicePeriod = 1024;

// Starts of sound after at least a quarter beat of silence.
std::vector<long> Onsets(const std::vector<float>& s) {
    std::vector<long> onsets;
    long quiet = 0;
    for (long i = 0; i < static_cast<long>(s.size()); ++i) {
        if (std::fabs(s[static_cast<std::size_t>(i)]) > 0.02f) {
            if (quiet > kBeat / 4) onsets.push_back(i);
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return onsets;
}

double PowerAt(const std::vector<float>& s, long from, long count, double frequency) {
    double re = 0, im = 0;
    for (long i = 0; i < count; ++i) {
        double phase = 2.0 * M_PI * frequency * static_cast<double>(i) / kRate;
        re += s[static_cast<std::size_t>(from + i)] * std::cos(phase);
        im += s[static_cast<std::size_t>(from + i)] * std::sin(phase);
    }
    return re * re + im * im;
}

TEST(AudioRigTest, ABarLoopsOnTheDeviceWithExactBeatsAndTheAccentLast) {
    ASSERT_NE(getenv("PULSE_SERVER"), nullptr) << "start the rig: scripts/rig start";
    AppSettings& settings = DllAppSettingsInstance();
    settings.desiredFrequency = 440.0f;
    settings.desiredBpm = 114;
    settings.accent = 4;
    TonePlaybackControls controls;
    PlaybackEngine engine(controls);
    Testing::TempDir dir;

    // As in the program, the streams are opened at start-up, well before the first bar: the
    // sound server settles the new input stream for a moment, and an output started within it
    // has a gap in its first click.
    AudioSystem& audio = DllAudioSystemInstance();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Testing::MonitorRecording recording(dir.Path() / "bar.raw");
    ASSERT_TRUE(recording.Started());
    engine.StartPlayback(true);
    // A fresh sound server may hold the first stream back for a while; count from when it
    // really plays.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (audio.OutputTime() < 0.2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(5500));
    EXPECT_TRUE(audio.IsOutputActive());
    engine.StartPlayback(false);
    std::vector<float> recorded;
    for (std::int16_t v : recording.Stop()) recorded.push_back(v / 32768.0f);
    ASSERT_EQ(DllAudioSystemInstance().Output().LastError(), 0);

    std::vector<long> onsets = Onsets(recorded);
    std::printf("recorded %zu samples; onsets:", recorded.size());
    for (long o : onsets) std::printf(" %ld", o);
    std::printf("\n");
    ASSERT_GE(onsets.size(), 9u) << "more than two bars, so at least two loop wraps";
    // Whole recording: every onset on the grid of the first, within one device period.
    long worst = 0;
    for (std::size_t k = 0; k < onsets.size(); ++k) {
        long expected = onsets[0] + static_cast<long>(k) * kBeat;
        worst = std::max(worst, std::labs(onsets[k] - expected));
    }
    std::printf("onsets %zu, worst deviation from the 23197-sample grid: %ld samples\n",
                onsets.size(), worst);
    EXPECT_LE(worst, kDevicePeriod);

    // Exactly one click in four is the accent, and it is the same one in every bar.
    int accentIndex = -1;
    for (std::size_t k = 0; k + 1 < onsets.size(); ++k) {
        double low = PowerAt(recorded, onsets[k], 8000, 440.0);
        double high = PowerAt(recorded, onsets[k], 8000, 880.0);
        bool accent = high > 10 * low;
        EXPECT_TRUE(accent || low > 10 * high) << "onset " << k;
        if (accent && accentIndex < 0) accentIndex = static_cast<int>(k % 4);
        EXPECT_EQ(accent, accentIndex >= 0 && static_cast<int>(k % 4) == accentIndex)
            << "onset " << k;
    }
    EXPECT_GE(accentIndex, 0);

    // No gap inside a click and no click inside the silence, across every loop wrap.
    for (std::size_t k = 0; k + 1 < onsets.size(); ++k) {
        long quietRun = 0, longestQuiet = 0;
        for (long i = onsets[k] + 2; i < onsets[k] + kClick - 200; ++i) {
            quietRun = std::fabs(recorded[static_cast<std::size_t>(i)]) < 0.01f ? quietRun + 1 : 0;
            longestQuiet = std::max(longestQuiet, quietRun);
        }
        EXPECT_LT(longestQuiet, 4) << "gap in click " << k;
        float loudest = 0;
        for (long i = onsets[k] + kClick + 50; i < onsets[k + 1] - 1; ++i)
            loudest = std::max(loudest, std::fabs(recorded[static_cast<std::size_t>(i)]));
        EXPECT_LT(loudest, 0.002f) << "sound in the silence after click " << k;
    }
}

}  // namespace
