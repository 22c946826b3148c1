// The tuner screen of the real program on the rig, heard through the real input: sound played
// into the null sink reaches the program from the sink's monitor, and what the program plays
// is recorded from that monitor. What the tuner reads out is taken from its diagnostics (each
// read-out that changes is traced), what it shows from screenshots.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/MonitorRecording.h"
#include "tests/support/RigProgram.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "Ondrel Metronome";
const fs::path kSkin = ONDREL_SOURCE_DIR "/skin";
constexpr int kRate = 44100;

void Xdo(const std::string& arguments) {
    (void)std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

// Writes `seconds` of a tone (partials as (multiple, amplitude)) as 16-bit mono samples.
fs::path Tone(const fs::path& folder, double frequency, double seconds,
              const std::vector<std::pair<int, double>>& partials) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double value = 0.0;
        for (auto [multiple, amplitude] : partials)
            value += amplitude * std::sin(2.0 * M_PI * frequency * multiple * i / kRate);
        samples[i] = static_cast<std::int16_t>(std::lround(value * 32767.0));
    }
    const fs::path file = folder / ("tone-" + std::to_string(frequency) + ".raw");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(samples.data()),
               static_cast<std::streamsize>(samples.size() * sizeof(std::int16_t)));
    return file;
}

void PlayIntoTheSink(const fs::path& raw) {
    (void)std::system(("pacat --raw --format=s16le --rate=44100 --channels=1 '" + raw.string() +
                       "' >/dev/null 2>&1")
                          .c_str());
}

// The last read-out the tuner traced: "442.00 Hz A, target 440.00 Hz".
struct ReadOut {
    double heard = 0.0;
    std::string letters;
    double target = 0.0;
};

ReadOut LastReadOut(const fs::path& errors) {
    std::ifstream in(errors);
    std::string line, last;
    while (std::getline(in, line))
        if (line.rfind("Tuner: ", 0) == 0) last = line;
    ReadOut out;
    char letters[16] = {};
    std::sscanf(last.c_str(), "Tuner: %lf Hz %15[A-G#], target %lf Hz", &out.heard, letters,
                &out.target);
    out.letters = letters;
    return out;
}

bool ProgramRecords() {
    return Testing::Output("pactl list source-outputs").find("\"ondrel-metronome\"") !=
           std::string::npos;
}

class TunerRigTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!getenv("DISPLAY") || !getenv("PULSE_SERVER"))
            GTEST_SKIP() << "needs the rig: scripts/rig start";
        ASSERT_EQ(std::system("pactl set-sink-volume @DEFAULT_SINK@ 100%"), 0);
        ASSERT_EQ(std::system("pactl set-source-volume @DEFAULT_SOURCE@ 100%"), 0);
        errors = dir.Path() / "errors.txt";
        program = std::make_unique<Testing::RigProgram>(
            ONDREL_PROGRAM, kSkin,
            std::vector<std::string>{"XDG_CONFIG_HOME=" + dir.Path().string(), "ONDREL_TRACE=1"},
            std::vector<std::string>{"--tuner"}, errors);
        window = Testing::WaitForWindow(kTitle);
        ASSERT_FALSE(window.empty());
        at = Testing::GeometryOf(window);
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
    }
    void TearDown() override {
        if (program) program->Signal(SIGTERM);
    }
    int X(double share) const { return at.x + static_cast<int>(share * at.width); }
    int Y(double share) const { return at.y + static_cast<int>(share * at.height); }
    void Click(double x, double y) {
        Xdo("mousemove " + std::to_string(X(x) - 3) + " " + std::to_string(Y(y)) +
            " sleep 0.05 mousemove " + std::to_string(X(x)) + " " + std::to_string(Y(y)) +
            " sleep 0.15 click 1 sleep 0.2");
    }

    Testing::TempDir dir;
    fs::path errors;
    std::unique_ptr<Testing::RigProgram> program;
    std::string window;
    Testing::Geometry at;
};

TEST_F(TunerRigTest, HearsNotesThroughTheInputPlaysAReferenceAndStopsListeningWhenLeft) {
    EXPECT_TRUE(ProgramRecords());

    // The violin: its A string is A4.
    Click(0.1325, 0.1925);
    // The menu is a window of its own: on a loaded machine it can take a while to be mapped,
    // and a click before then falls through to the screen beneath it.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Click(0.1325, 0.477);  // the fourth entry of the menu
    PlayIntoTheSink(Tone(dir.Path(), 442.0, 2.5, {{1, 0.4}}));
    ReadOut heard = LastReadOut(errors);
    EXPECT_NEAR(heard.heard, 442.0, 0.02);
    EXPECT_EQ(heard.letters, "A");
    EXPECT_NEAR(heard.target, 440.0, 0.005);  // picked by itself: the A string
    {
        // The needle stands right of the middle, in the sharp colour; the A button (third of
        // four) is ringed with the accent.
        Testing::Screenshot shot((dir.Path() / "tuner.png").string());
        ASSERT_TRUE(shot.Ok());
        auto redAt = [&](int x, int y) {
            const std::uint32_t p = shot.At(x, y);
            return (p >> 16 & 0xff) > 200 && (p >> 8 & 0xff) < 120 && (p & 0xff) < 120;
        };
        int left = 0, right = 0;
        for (int y = Y(0.45); y < Y(0.69); ++y)
            for (int x = X(0.26); x < X(0.74); ++x)
                if (redAt(x, y)) (x < X(0.5) ? left : right)++;
        EXPECT_GT(right, 3 * left + 20) << "red left " << left << ", right " << right;
        auto ring = [&](int button) {
            const double from = 0.035 + 0.695 * button / 4.0;
            int orange = 0;
            for (int y = Y(0.78); y < Y(0.97); ++y)
                for (int x = X(from); x < X(from + 0.695 / 4.0); ++x) {
                    const std::uint32_t p = shot.At(x, y);
                    orange += (p >> 16 & 0xff) > 200 && (p >> 8 & 0xff) > 100 && (p & 0xff) < 110;
                }
            return orange;
        };
        EXPECT_GT(ring(2), 20);
        EXPECT_LT(ring(1), 5);
    }

    // A plucked string whose octave is louder than the note itself.
    PlayIntoTheSink(Tone(dir.Path(), 110.0, 3.0, {{1, 0.15}, {2, 0.3}, {3, 0.12}, {4, 0.08}}));
    heard = LastReadOut(errors);
    EXPECT_NEAR(heard.heard, 110.0, 0.05);
    EXPECT_EQ(heard.letters, "A");

    // The reference tone at the target: continuous, with no step where the device loops it.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the sink plays out the tone
    const double target = heard.target;
    Click(0.085, 0.445);
    Testing::MonitorRecording recording(dir.Path() / "reference.raw");
    std::this_thread::sleep_for(std::chrono::milliseconds(10800));
    const std::vector<std::int16_t> samples = recording.Stop();
    Click(0.085, 0.445);
    ASSERT_GT(samples.size(), static_cast<std::size_t>(10.5 * kRate));
    std::size_t start = 0;
    while (start < samples.size() && std::abs(samples[start]) < 1000) ++start;
    ASSERT_LT(start, static_cast<std::size_t>(kRate));
    int peak = 0, largestStep = 0, crossings = 0;
    for (std::size_t i = start + 1000; i + 1 < samples.size(); ++i) {
        peak = std::max(peak, std::abs(int(samples[i])));
        largestStep = std::max(largestStep, std::abs(samples[i + 1] - samples[i]));
        crossings += samples[i] < 0 && samples[i + 1] >= 0;
    }
    const double seconds = static_cast<double>(samples.size() - start - 1001) / kRate;
    EXPECT_NEAR(crossings / seconds, target, 1.0);
    // A sine's largest step between samples, and a little for the 16-bit rounding.
    EXPECT_LE(largestStep, peak * 2.0 * M_PI * target / kRate * 1.02 + 2.0);

    // Back to the metronome: nothing of the program records any more.
    Click(0.8675, 0.87);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(ProgramRecords());
}

}  // namespace
