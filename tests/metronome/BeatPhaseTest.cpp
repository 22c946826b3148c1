// The phases the beat displays read, on the virtual device with a hand-set clock: read at any
// moment, between the device's blocks too, they are within 2 ms of the sound heard, also long
// into playing and after a tempo change restarts the bar.
#include "metronome/BeatPhase.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "audio/AudioSystem.h"
#include "metronome/PlaybackEngine.h"
#include "settings/AppSettings.h"
#include "tests/audio/TestDevice.h"

namespace {

constexpr double kRate = 44100.0;
constexpr unsigned long kBlock = 2048;
constexpr double kLatency = 4096 / kRate;  // the device's queue: two blocks

// How far apart two phases of a period are, in seconds, across the wrap.
double Apart(double a, double b, double period) {
    const double d = std::fabs(a - b);
    return std::min(d, 1.0 - d) * period;
}

class BeatPhaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        device = &Testing::TestDevice();
        Play(114, 4, 1000.0);
    }
    void TearDown() override { engine.PlayBar(false, "", 0, 0); }

    void Play(int bpm, int accent, double at) {
        AppSettings& settings = DllAppSettingsInstance();
        settings.desiredBpm = bpm;
        settings.accent = accent;
        device->clockSeconds = at;
        engine.PlayBar(true, "", bpm, accent);
        started = at;
        blocks = 0;
    }
    // The device asks for the next block `early` seconds before it is due (as a real one does,
    // by varying amounts); what it reports still puts the block's sound where it belongs.
    void NextBlock(double early) {
        const double due = started + static_cast<double>(blocks * kBlock) / kRate;
        device->clockSeconds = due - early;
        device->latencyFrames = (kLatency + early) * kRate;
        device->OutputStream()->Clock(kBlock);
        ++blocks;
    }
    // The clock at `heard` seconds of the bar's sound.
    void HearAt(double heard) { device->clockSeconds = started + kLatency + heard; }

    VirtualStreamBackend* device = nullptr;
    TonePlaybackControls controls;
    PlaybackEngine engine{controls};
    double started = 0.0;
    unsigned long blocks = 0;
};

TEST_F(BeatPhaseTest, FollowTheSoundHeardBetweenBlocksAndAcrossATempoChange) {
    // Nothing heard yet: the stopped phase.
    NextBlock(0.0);
    HearAt(-0.01);
    EXPECT_EQ(BeatPhase(), 1.0f);
    EXPECT_EQ(BarPhase(), 1.0f);

    // 0.3 s into the bar at 114 BPM and 4 beats.
    while (blocks * kBlock < static_cast<unsigned long>((0.3 + kLatency) * kRate) + kBlock)
        NextBlock(0.0);
    HearAt(0.3);
    EXPECT_NEAR(BeatPhase(), 0.57f, 1e-3f);
    EXPECT_NEAR(BarPhase(), 0.3925f, 1e-3f);

    std::mt19937 random(23);
    std::uniform_real_distribution<double> early(0.0, 0.012), within(0.0, kBlock / kRate);
    for (auto [bpm, accent, count] : {std::tuple{114, 4, 600}, std::tuple{90, 3, 200}}) {
        if (bpm != 114) Play(bpm, accent, device->clockSeconds + 0.5);  // a new tempo restarts
        const double beat = BeatSeconds(bpm);
        const double bar = beat * accent;
        for (int block = 0; block < count; ++block) {
            NextBlock(early(random));
            // What the written stream time says: the frames handed over, less the latency.
            EXPECT_DOUBLE_EQ(DllAudioSystemInstance().OutputTime(),
                             std::max(0.0, blocks * kBlock - device->latencyFrames) / kRate);
            const double due = started + static_cast<double>((blocks - 1) * kBlock) / kRate;
            for (int draw = 0; draw < 3; ++draw) {
                device->clockSeconds = due + within(random);
                const double heard = device->clockSeconds - started - kLatency;
                if (heard <= 0.0) {
                    ASSERT_EQ(BeatPhase(), 1.0f);
                    continue;
                }
                ASSERT_LT(Apart(BeatPhase(), std::fmod(heard, beat) / beat, beat), 0.002)
                    << bpm << " BPM, " << heard << " s";
                ASSERT_LT(Apart(BarPhase(), std::fmod(heard + beat, bar) / bar, bar), 0.002)
                    << bpm << " BPM, " << heard << " s";
            }
        }
    }
    engine.PlayBar(false, "", 0, 0);
    EXPECT_EQ(BeatPhase(), 1.0f);
    EXPECT_EQ(BarPhase(), 1.0f);
}

TEST_F(BeatPhaseTest, CountFromTheSpeedTrainersSwitchAtTheBarLine) {
    // Bars of two beats: one at 100 BPM (a beat of 0.6 s), then 150 (0.4 s) for good; the
    // settings' tempo is another, which the phases must not read.
    engine.PlayBar(false, "", 0, 0);
    DllAppSettingsInstance().desiredBpm = 77;
    DllAppSettingsInstance().accent = 2;
    device->clockSeconds = started = 2000.0;
    blocks = 0;
    engine.PlayTrainer(SpeedTrainer({100, 150, 50, 1, false}), "", 2);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> within(0.0, kBlock / kRate);
    for (int block = 0; block < 80; ++block) {
        NextBlock(0.0);
        engine.KeepTrainerAhead();
        const double due = started + static_cast<double>((blocks - 1) * kBlock) / kRate;
        device->clockSeconds = due + within(random);
        const double heard = device->clockSeconds - started - kLatency;
        if (heard <= 0.0) continue;
        const bool second = heard >= 1.2;
        const double beat = second ? 0.4 : 0.6, position = second ? heard - 1.2 : heard;
        ASSERT_LT(Apart(BeatPhase(), std::fmod(position, beat) / beat, beat), 0.002) << heard;
        ASSERT_LT(Apart(BarPhase(), std::fmod(position + beat, 2 * beat) / (2 * beat), 2 * beat),
                  0.002)
            << heard;
    }
    EXPECT_EQ(engine.SoundingBpm(), 150);
}

}  // namespace
