#include "bench/PitchTool.h"

#include <cmath>
#include <numbers>
#include <sstream>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "tests/support/TempDir.h"

namespace {

// Writes a 16-bit WAV file of `channels` identical channels.
std::string WriteWav(const Testing::TempDir& dir, const std::string& name,
                     const std::vector<float>& mono, int rate, int channels) {
    std::string path = (dir.Path() / name).string();
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<float> frames;
    for (float v : mono)
        for (int c = 0; c < channels; ++c) frames.push_back(v);
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(mono.size()));
    sf_close(file);
    return path;
}

// A 32-bit float WAV file: it holds any number, however loud.
std::string WriteFloatWav(const Testing::TempDir& dir, const std::string& name,
                          const std::vector<float>& mono, int rate) {
    std::string path = (dir.Path() / name).string();
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_FALSE);
    sf_writef_float(file, mono.data(), static_cast<sf_count_t>(mono.size()));
    sf_close(file);
    return path;
}

std::vector<float> Tone(double frequency, int rate, double seconds, double amplitude = 0.3) {
    std::vector<float> x(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] =
            static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * frequency * i / rate));
    return x;
}

struct Line {
    double seconds;
    double hertz;
};

struct ToolRun {
    int status;
    std::vector<Line> lines;
    std::string err;
};

ToolRun Pitch(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    ToolRun run{RunPitchTool(arguments, out, err), {}, err.str()};
    std::istringstream in(out.str());
    Line line{};
    while (in >> line.seconds >> line.hertz) run.lines.push_back(line);
    return run;
}

TEST(PitchToolTest, PrintsOneLinePerFrameThroughTheTunerPath) {
    Testing::TempDir dir;
    // Stereo at 48 kHz: folded to mono and converted to 44.1 kHz first.
    std::vector<float> sound = Tone(0.0, 48000, 0.3, 0.0);  // silence, then the note
    std::vector<float> note = Tone(196.0, 48000, 1.5);
    sound.insert(sound.end(), note.begin(), note.end());
    std::string path = WriteWav(dir, "g3.wav", sound, 48000, 2);

    ToolRun shown = Pitch({path});
    ASSERT_EQ(shown.status, 0) << shown.err;
    // 1.8 s at 44100 Hz in buffers of 512 frames, one analysis each.
    ASSERT_EQ(shown.lines.size(), static_cast<std::size_t>(1.8 * 44100 / 512));
    for (std::size_t i = 0; i < shown.lines.size(); ++i)
        ASSERT_NEAR(shown.lines[i].seconds, (i + 1) * 512 / 44100.0, 1e-4);
    EXPECT_EQ(shown.lines[10].hertz, 0.0);  // silence: nothing shown yet
    EXPECT_NEAR(shown.lines.back().hertz, 196.0, 0.05);

    ToolRun raw = Pitch({"--raw", path});
    ASSERT_EQ(raw.status, 0);
    ASSERT_EQ(raw.lines.size(), shown.lines.size());
    EXPECT_EQ(raw.lines[10].hertz, 0.0);  // gated
    EXPECT_NEAR(raw.lines.back().hertz, 196.0, 0.05);
}

TEST(PitchToolTest, ReportsUnreadableFilesAndBadArguments) {
    Testing::TempDir dir;
    ToolRun missing = Pitch({(dir.Path() / "none.wav").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.wav"), std::string::npos);
    dir.Write("text.wav", "not a sound file");
    EXPECT_EQ(Pitch({(dir.Path() / "text.wav").string()}).status, 1);
    // Files that read but hold nothing to analyse: refused, not answered with silence or a
    // made-up pitch.
    const std::vector<float> loud(44100, 1e17f);
    for (const std::string& path :
         {WriteWav(dir, "header.wav", {}, 44100, 1), WriteWav(dir, "one.wav", {0.5f}, 44100, 1),
          WriteWav(dir, "slow.wav", Tone(0.5, 2, 2.0), 2, 1),
          WriteFloatWav(dir, "loud.wav", loud, 44100)}) {
        ToolRun refused = Pitch({path});
        EXPECT_EQ(refused.status, 1) << path;
        EXPECT_TRUE(refused.lines.empty()) << path;
        EXPECT_NE(refused.err.find(path), std::string::npos) << refused.err;
    }
    EXPECT_EQ(Pitch({}).status, 2);
    EXPECT_EQ(Pitch({"--fast", "x.wav"}).status, 2);
    EXPECT_EQ(Pitch({"a.wav", "b.wav"}).status, 2);
    EXPECT_EQ(Pitch({"--help"}).status, 0);
}

}  // namespace
