#include "metronome/ClickTrackExport.h"

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AudioFile.h"
#include "metronome/ClickSynthesis.h"
#include "metronome/PlaybackEngine.h"
#include "settings/AppSettings.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::optional<ClickTrackRequest> Parse(std::vector<std::string> arguments, std::string& error) {
    error.clear();
    return ParseClickTrackRequest(arguments, error);
}

TEST(ClickTrackExportTest, TheFileHoldsExactlyTheBarsTheMetronomePlays) {
    DllAppSettingsInstance().desiredFrequency = 440.0f;
    Testing::TempDir dir;
    std::string error;
    auto request = Parse({(dir.Path() / "track.wav").string(), "--bpm", "137", "--accent", "3",
                          "--subdivision", "3", "--bars", "3"},
                         error);
    ASSERT_TRUE(request) << error;
    TonePlaybackControls tone;
    ASSERT_EQ(ExportClickTrack(*request, tone), "");

    std::vector<float> bar = RenderBar(PatternFor(tone, "", 137, 3, 3)), expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), bar.begin(), bar.end());
    std::vector<float> read;
    ASSERT_GT(LoadAudioFile(request->path, read, 60000.0f, kBarSampleRate), 0);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(dir.Path()), {}).size(), 1u);

    // A file that cannot be written says why and leaves nothing behind.
    request->path = (dir.Path() / "missing" / "track.wav").string();
    EXPECT_NE(ExportClickTrack(*request, tone), "");
    EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(dir.Path()), {}).size(), 1u);
}

TEST(ClickTrackExportTest, BadArgumentsAreRefusedWithAReason) {
    std::string error;
    const std::vector<std::vector<std::string>> bad = {
        {"x.wav"},                                    // no tempo
        {"--bpm", "120"},                             // no file
        {"x.wav", "--bpm", "9"},                      // below the tempo range
        {"x.wav", "--bpm", "120x"},                   // not a number
        {"x.wav", "--bpm", "120", "--accent", "13"},  // beyond the accents
        {"x.wav", "--bpm", "120", "--subdivision", "5"},
        {"x.wav", "--bpm", "120", "--bars", "0"},
        {"x.wav", "--bpm", "120", "--bars"},                         // no value
        {"x.wav", "--bpm", "120", "--tempo", "3"},                   // unknown option
        {"x.wav", "y.wav", "--bpm", "120"},                          // two files
        {"x.wav", "--bpm", "10", "--accent", "12", "--bars", "51"},  // over an hour
    };
    for (const auto& arguments : bad) {
        EXPECT_FALSE(Parse(arguments, error)) << arguments.size();
        EXPECT_FALSE(error.empty());
    }
    auto fine = Parse({"x.wav", "--bpm", "5000", "--sound", "Cowbell"}, error);
    ASSERT_TRUE(fine);
    EXPECT_EQ(fine->beats, 4);
    EXPECT_EQ(fine->bars, 8);
    EXPECT_EQ(fine->sound, "Cowbell");
}

}  // namespace
