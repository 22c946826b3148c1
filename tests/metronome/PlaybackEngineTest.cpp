#include "metronome/PlaybackEngine.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AudioSystem.h"
#include "metronome/ClickSynthesis.h"
#include "metronome/RecordBuffer.h"
#include "settings/AppSettings.h"
#include "tests/audio/TestDevice.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavFile.h"

// Counts every allocation of this test binary while armed, to prove the audio callbacks
// allocate nothing.
namespace {
std::atomic<bool> countAllocations{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (countAllocations.load(std::memory_order_relaxed)) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// The replacements pair malloc with free, which the compiler cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

using Testing::TestDevice;

class FakeControls : public PlaybackControls {
public:
    std::string OutputText() const override { return output; }
    int PlayState() const override { return play; }
    void ResetRecordToggle() override { ++recordResets; }
    bool FindSample(const std::string& name, AudioEntry& entry) const override {
        if (throwOnLookup) throw std::runtime_error("broken skin");
        for (const AudioEntry& e : samples)
            if (e.name == name) {
                entry = e;
                return true;
            }
        return false;
    }

    std::string output = "TONE";
    int play = 1;
    int recordResets = 0;
    bool throwOnLookup = false;
    std::vector<AudioEntry> samples;
};

class PlaybackEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        device = &TestDevice();
        AppSettings& settings = DllAppSettingsInstance();
        settings.desiredFrequency = 440.0f;
        settings.desiredBpm = 114;
        settings.accent = 4;
    }
    // Plays `frames` frames in device periods of 1024.
    std::vector<float> Play(unsigned long frames) {
        std::vector<float> played;
        while (played.size() < frames) {
            unsigned long n = std::min<unsigned long>(1024, frames - played.size());
            std::vector<float> block = device->OutputStream()->Clock(n);
            played.insert(played.end(), block.begin(), block.end());
        }
        return played;
    }
    // Records `buffers` input buffers of 512 frames whose samples count up from `first`.
    void Feed(int buffers, float first) {
        std::vector<float> input(512);
        for (int b = 0; b < buffers; ++b) {
            for (int i = 0; i < 512; ++i) input[static_cast<std::size_t>(i)] = first++;
            device->InputStream()->Clock(512, input.data());
        }
    }

    VirtualStreamBackend* device = nullptr;
    FakeControls controls;
    PlaybackEngine engine{controls};
};

TEST_F(PlaybackEngineTest, PlayLoopsOneRenderedBarWithTheAccentLast) {
    engine.StartPlayback(true);
    std::vector<float> bar = DllAudioSystemInstance().Output().Loop();
    ASSERT_EQ(bar.size(), 92788u);
    EXPECT_TRUE(DllAudioSystemInstance().IsOutputActive());

    std::vector<float> played = Play(92788 * 2 + 30000);
    for (std::size_t i = 0; i < played.size(); ++i) ASSERT_EQ(played[i], bar[i % 92788]) << i;
    // The clicks start on 0, 23197, 46394 and 69591: the silence before each is broken there.
    for (std::size_t beat = 1; beat < 4; ++beat) {
        EXPECT_EQ(played[beat * 23197 - 1], 0.0f);
        EXPECT_NE(played[beat * 23197 + 1], 0.0f);
    }

    engine.StartPlayback(false);
    EXPECT_FALSE(DllAudioSystemInstance().IsOutputActive());
    EXPECT_EQ(device->OutputStream()->History().back(), "abort");
}

TEST_F(PlaybackEngineTest, TheSpeedTrainerChangesTempoExactlyAtTheBarLine) {
    // Two bars at each tempo, then back to the start: 114, 114, 120, 120, 114, 114.
    engine.PlayTrainer(SpeedTrainer({114, 120, 6, 2, true}), "", 2, 2);
    std::vector<float> expected;
    for (int tempo : {114, 114, 120, 120, 114, 114}) {
        const std::vector<float> bar = RenderBar(PatternFor(controls, "", tempo, 2, 2));
        expected.insert(expected.end(), bar.begin(), bar.end());
    }
    // The screen's timer runs between device periods of any size.
    std::vector<float> played;
    std::vector<int> shown;
    for (unsigned long n = 700; played.size() < expected.size(); n = n % 3000 + 911) {
        const std::vector<float> block = device->OutputStream()->Clock(n);
        played.insert(played.end(), block.begin(), block.end());
        shown.push_back(engine.KeepTrainerAhead());
    }
    played.resize(expected.size());
    EXPECT_EQ(played, expected);  // no gap, no doubled click, no sample out of place
    // What the screen shows follows the bars.
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 3),
              (std::vector<int>{114, 120, 114}));
    // A plain bar ends the trainer.
    engine.StartPlayback(true);
    EXPECT_EQ(engine.KeepTrainerAhead(), 0);
}

TEST_F(PlaybackEngineTest, SoundNamesChooseSampleFilesAndUnknownNamesFallBackToTones) {
    Testing::TempDir dir;
    AudioEntry wood;
    wood.name = "Wood";
    wood.normalFile =
        dir.Write("n.wav", Testing::WavBytes(44100, 1, std::vector<float>(300, 0.25f))).string();
    wood.accentFile =
        dir.Write("a.wav", Testing::WavBytes(44100, 1, std::vector<float>(300, -0.5f))).string();
    controls.samples.push_back(wood);

    engine.PlayBar(true, "Wood", 120, 2);
    std::vector<float> bar = DllAudioSystemInstance().Output().Loop();
    ASSERT_EQ(bar.size(), 44100u);
    EXPECT_EQ(bar[0], 0.25f);
    EXPECT_EQ(bar[22050], -0.5f);

    controls.output = "Nothing by that name";
    engine.StartPlayback(true);
    bar = DllAudioSystemInstance().Output().Loop();
    ASSERT_EQ(bar.size(), 92788u);
    EXPECT_EQ(bar[0], 0.0f);
    EXPECT_GT(bar[1], 0.05f);  // a sine tone

    // A lookup that throws never leaves StartPlayback; playback simply does not start.
    engine.StartPlayback(false);
    controls.throwOnLookup = true;
    EXPECT_NO_THROW(engine.StartPlayback(true));
    EXPECT_FALSE(DllAudioSystemInstance().IsOutputActive());
}

TEST_F(PlaybackEngineTest, RestartWhilePlayingStartsTheNewBarFromItsFirstSample) {
    engine.StartPlayback(true);
    Play(30000);
    DllAppSettingsInstance().desiredBpm = 60;
    engine.RestartIfPlaying();
    std::vector<float> bar = DllAudioSystemInstance().Output().Loop();
    ASSERT_EQ(bar.size(), 4u * 44100u);
    std::vector<float> played = Play(1000);
    EXPECT_TRUE(std::equal(played.begin(), played.end(), bar.begin()));

    controls.play = 0;
    DllAppSettingsInstance().desiredBpm = 120;
    engine.RestartIfPlaying();
    EXPECT_EQ(DllAudioSystemInstance().Output().Loop().size(), 4u * 44100u)
        << "not playing: nothing restarts";
}

TEST_F(PlaybackEngineTest, RecordingIsReplacedByTheNextAndPlaysInALoop) {
    controls.output = "SAMPLE";
    engine.StartPlayback(true);
    EXPECT_EQ(Play(2048), std::vector<float>(2048, 0.0f)) << "nothing recorded: silence";

    engine.Record(true);
    Feed(3, 1000.0f);
    engine.Record(true);  // the second recording replaces the first
    Feed(2, 1.0f);
    RecordBuffer& record = DllRecordBufferInstance();
    ASSERT_EQ(record.BlockCount(), 2u);
    EXPECT_EQ(record.BlockSamples(0)[0], 1.0f);
    EXPECT_EQ(record.BlockSamples(1)[511], 1024.0f);
    std::vector<float> frame;
    EXPECT_TRUE(DllAnalysisFrameInstance().TakeIfNew(frame)) << "the tuner still hears";

    engine.PlayRecording(true);
    std::vector<float> played = Play(512 * 5);
    for (std::size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], static_cast<float>(i % 1024 + 1)) << i;
    // Blocks recorded meanwhile join the loop.
    Feed(1, 5000.0f);
    played = Play(512 * 3);
    EXPECT_EQ(played[0], 513.0f);
    EXPECT_EQ(played[512], 5000.0f);
    EXPECT_EQ(played[1024], 1.0f);

    engine.Record(false);
    EXPECT_FALSE(DllAudioSystemInstance().Input().IsOpen());  // stopped and closed
    EXPECT_EQ(record.BlockCount(), 3u) << "stopping keeps the recording";
    EXPECT_EQ(controls.recordResets, 0);
}

TEST_F(PlaybackEngineTest, AnInputThatCannotOpenPutsTheRecordToggleBack) {
    device->openResult = -9985;
    engine.Record(true);
    EXPECT_EQ(controls.recordResets, 1);
    device->openResult = 0;
    engine.Record(true);
    EXPECT_EQ(controls.recordResets, 1);
}

TEST_F(PlaybackEngineTest, RecordingStopsAtTenMinutesAndTheToggleGoesOff) {
    engine.Record(true);
    RecordBuffer& record = DllRecordBufferInstance();
    const int buffersInTenMinutes = 44100 * 600 / 512;
    Feed(buffersInTenMinutes - 1, 0.0f);
    EXPECT_FALSE(engine.CheckRecordingLimit());
    EXPECT_EQ(controls.recordResets, 0);
    Feed(10, 0.0f);
    EXPECT_TRUE(record.IsFull());
    EXPECT_EQ(record.BlockCount(), static_cast<std::size_t>(buffersInTenMinutes));
    EXPECT_LE(record.SampleCount(), 44100u * 600u);
    EXPECT_TRUE(engine.CheckRecordingLimit());
    EXPECT_EQ(controls.recordResets, 1);
    EXPECT_FALSE(DllAudioSystemInstance().Input().IsOpen());
    EXPECT_FALSE(engine.CheckRecordingLimit());

    engine.Record(true);
    EXPECT_FALSE(record.IsFull());
    EXPECT_EQ(record.BlockCount(), 0u);
}

TEST_F(PlaybackEngineTest, TheCallbackPathAllocatesNothing) {
    std::vector<float> input(512, 0.25f), output(4096), scope;
    engine.StartPlayback(true);
    engine.Record(true);
    VirtualStream* in = device->InputStream();
    VirtualStream* out = device->OutputStream();

    countAllocations = true;
    for (int i = 0; i < 200; ++i) {
        out->ClockInto(1000 + static_cast<unsigned long>(i), nullptr, output.data());
        in->ClockInto(512, input.data(), nullptr);
    }
    countAllocations = false;
    engine.PlayRecording(true);
    out = device->OutputStream();
    countAllocations = true;
    for (int i = 0; i < 200; ++i) out->ClockInto(700, nullptr, output.data());
    countAllocations = false;

    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(DllRecordBufferInstance().BlockCount(), 200u);
    // The counter itself works.
    countAllocations = true;
    scope.reserve(1000);
    countAllocations = false;
    EXPECT_EQ(allocations.load(), 1);
}

}  // namespace
