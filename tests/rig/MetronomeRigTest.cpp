// The real program with its default skin on the rig: driven with xdotool like a user, heard
// through the null sink's monitor, seen in screenshots, and judged by the profile it saves.
// What is seen: the chosen preset's orange in the middle of the preset strip (none for a tempo
// no preset has), and how far the output slider's orange fill reaches.
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AudioFile.h"
#include "platform/ProfileStore.h"
#include "tests/support/MonitorRecording.h"
#include "tests/support/RigProgram.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr long kBeat = 22050;  // 120 BPM
// The jitter allowed between two onsets: one device period (see AudioRigTest).
constexpr long kDevicePeriod = 1024;
constexpr float kLoud = 0.02f;
constexpr const char* kTitle = "Ondrel Metronome";
const std::filesystem::path kSkin = ONDREL_SOURCE_DIR "/skin";

// --- hearing ------------------------------------------------------------------------------

std::vector<float> Floats(const std::vector<std::int16_t>& samples) {
    std::vector<float> out;
    out.reserve(samples.size());
    for (std::int16_t v : samples) out.push_back(v / 32768.0f);
    return out;
}

// Starts of sound after at least 1000 samples (23 ms) of silence: no click holds a gap that
// long, and a restarted stream leaves at least that much.
std::vector<long> Onsets(const std::vector<float>& s) {
    std::vector<long> onsets;
    long quiet = 1000;
    for (long i = 0; i < static_cast<long>(s.size()); ++i) {
        if (std::fabs(s[i]) > kLoud) {
            if (quiet >= 1000) onsets.push_back(i);
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return onsets;
}

// Runs of onsets that follow each other within two beats: one run per stretch of playing. A stop
// cuts the click that sounds, and the sound server's rewind may scatter what is left of it over
// the last beat: the onsets within half a beat of a run's last one are the stop's and left out.
std::vector<std::vector<long>> Runs(const std::vector<long>& onsets) {
    std::vector<std::vector<long>> runs;
    for (std::size_t k = 0; k < onsets.size(); ++k) {
        if (k == 0 || onsets[k] - onsets[k - 1] > 2 * kBeat) runs.emplace_back();
        runs.back().push_back(onsets[k]);
    }
    for (std::vector<long>& run : runs) {
        const long stop = run.back() - kBeat / 2;
        while (run.size() > 1 && run.back() > stop) run.pop_back();
    }
    return runs;
}

double PowerAt(const std::vector<float>& s, long from, long count, double frequency) {
    double re = 0, im = 0;
    for (long i = 0; i < count && from + i < static_cast<long>(s.size()); ++i) {
        double phase = 2.0 * M_PI * frequency * static_cast<double>(i) / kRate;
        re += s[from + i] * std::cos(phase);
        im += s[from + i] * std::sin(phase);
    }
    return re * re + im * im;
}

// 'n' for a 440 Hz click, 'a' for an 880 Hz one, '?' when neither clearly dominates.
char Pitch(const std::vector<float>& s, long onset) {
    const double low = PowerAt(s, onset, 8000, 440.0), high = PowerAt(s, onset, 8000, 880.0);
    return high > 10 * low ? 'a' : low > 10 * high ? 'n' : '?';
}

std::string Pattern(const std::vector<float>& s, const std::vector<long>& onsets) {
    std::string pattern;
    for (long onset : onsets) pattern += Pitch(s, onset);
    return pattern;
}

// The largest distance of an onset from the grid through the first one.
long Drift(const std::vector<long>& onsets) {
    long worst = 0;
    for (std::size_t k = 0; k < onsets.size(); ++k)
        worst = std::max(worst, std::labs(onsets[k] - onsets[0] - static_cast<long>(k) * kBeat));
    return worst;
}

// The best normalised correlation of the recording at `onset` with `click`, over small shifts
// (the onset is where the sound first crosses a level, not where the file starts).
double Likeness(const std::vector<float>& s, long onset, const std::vector<float>& click) {
    const long length = std::min<long>(4000, static_cast<long>(click.size()));
    double best = 0;
    for (long shift = -300; shift <= 300; ++shift) {
        const long from = onset + shift;
        if (from < 0 || from + length > static_cast<long>(s.size())) continue;
        double sc = 0, ss = 0, cc = 0;
        for (long i = 0; i < length; ++i) {
            sc += s[from + i] * click[i];
            ss += s[from + i] * s[from + i];
            cc += click[i] * click[i];
        }
        if (ss > 0 && cc > 0) best = std::max(best, sc / std::sqrt(ss * cc));
    }
    return best;
}

// `count` clicks of bars of `beats`, from a bar's first beat: 'n' normal, 'a' the accent.
std::string Bars(int beats, std::size_t count) {
    std::string pattern;
    for (std::size_t k = 0; k < count; ++k)
        pattern += static_cast<int>(k % beats) == beats - 1 ? 'a' : 'n';
    return pattern;
}

// The usual distance between onsets after the first: a sample-exact loop gives exactly the beat,
// whatever a stall of the loaded machine may add to a single one.
long MedianBeat(const std::vector<long>& onsets) {
    std::vector<long> beats;
    for (std::size_t k = 2; k < onsets.size(); ++k) beats.push_back(onsets[k] - onsets[k - 1]);
    std::sort(beats.begin(), beats.end());
    return beats.empty() ? 0 : beats[beats.size() / 2];
}

// A stretch of playing from one start: bars of `beats` whose first onset is beat `first` of a bar
// (0 for a bar's first beat), every onset on the 120 BPM grid within a device period, and the
// usual beat exactly 22050 samples. The first beat after a start is as long as the sound server
// takes to settle a new stream (up to 30 ms on the rig) and is not checked. The last click may be
// cut short (an accent change cuts it; a stop's remains Runs has already left out) and is left
// out of the pattern.
void ExpectBars(const std::vector<float>& s, const std::vector<long>& onsets, int beats,
                int first = 0) {
    ASSERT_GE(onsets.size(), static_cast<std::size_t>(beats + 1));
    EXPECT_LE(Drift({onsets.begin() + 1, onsets.end()}), kDevicePeriod);
    EXPECT_LE(std::labs(MedianBeat(onsets) - kBeat), 1);
    EXPECT_EQ(Pattern(s, {onsets.begin(), onsets.end() - 1}),
              Bars(beats, first + onsets.size() - 1).substr(first));
}

std::string Describe(const std::vector<float>& s, const std::vector<long>& onsets) {
    std::string text = std::to_string(s.size()) + " samples, onsets:";
    for (long onset : onsets) text += " " + std::to_string(onset) + Pitch(s, onset);
    return text;
}

std::vector<float> Sound(const std::string& file) {
    std::vector<float> samples;
    LoadAudioFile((kSkin / "sounds" / file).string(), samples, 250.0f, kRate);
    return samples;
}

// The last sample louder than the click level, or -1.
long LastSound(const std::vector<float>& s) {
    for (long i = static_cast<long>(s.size()) - 1; i >= 0; --i)
        if (std::fabs(s[i]) > kLoud) return i;
    return -1;
}

// --- the sound server ---------------------------------------------------------------------

int SinkPercent() {
    const std::string text = Testing::Output("pactl get-sink-volume @DEFAULT_SINK@");
    const std::size_t percent = text.find('%');
    if (percent == std::string::npos) return -1;
    std::size_t start = percent;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(text[start - 1]))) --start;
    return std::atoi(text.c_str() + start);
}

// Waits for a condition for at most `limit`; true when it came.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = 10s) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Whether every input stream the program has open on the sound server is corked: the server
// keeps the input to itself until the program listens.
bool Recording() {
    return Testing::Output("pactl list source-outputs").find("\"ondrel-metronome\"") !=
           std::string::npos;
}

// --- seeing ------------------------------------------------------------------------------

bool Orange(std::uint32_t rgb) {
    const int r = rgb >> 16, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
    return r > 200 && g > 90 && g < 180 && b < 110;
}

// --- the program --------------------------------------------------------------------------

// The program with the default skin and a profile folder of the test's own, its main window
// found and placed at the top left so that shares of it are easy to click.
class Metronome {
public:
    explicit Metronome(const std::filesystem::path& configHome)
        : program_(ONDREL_PROGRAM, kSkin, {"XDG_CONFIG_HOME=" + configHome.string()}) {
        window_ = Testing::WaitForWindow(kTitle);
        if (window_.empty()) return;
        at_ = Testing::GeometryOf(window_);
    }

    bool Up() const { return !window_.empty() && at_.width > 0; }
    const Testing::Geometry& At() const { return at_; }
    Testing::RigProgram& Process() { return program_; }
    bool WindowShown() const { return !Testing::FindWindow(kTitle).empty(); }

    int X(double share) const { return at_.x + static_cast<int>(share * at_.width); }
    int Y(double share) const { return at_.y + static_cast<int>(share * at_.height); }

    // Arrives from a few pixels away, as a hand does: a button takes a click only while the
    // pointer is over it, and a click ends that until the pointer moves again.
    void Click(double x, double y) {
        Xdo("mousemove " + std::to_string(X(x) - 3) + " " + std::to_string(Y(y)) +
            " sleep 0.05 mousemove " + std::to_string(X(x)) + " " + std::to_string(Y(y)) +
            " sleep 0.15 click 1 sleep 0.15");
    }
    // The title bar's close button, right-most of the chrome.
    void ClickClose() {
        const std::string y = std::to_string(at_.y + 20);
        Xdo("mousemove " + std::to_string(at_.x + at_.width - 33) + " " + y +
            " sleep 0.05 mousemove " + std::to_string(at_.x + at_.width - 30) + " " + y +
            " sleep 0.15 click 1");
    }
    // Keys for the main window. The rig has no window manager: the X focus is set by hand,
    // each time, as a drop-down list may have taken it.
    void Keys(const std::string& keys) {
        Xdo("windowfocus --sync " + window_ + " key --delay 60 " + keys);
    }
    void TypeTempo(const std::string& digits) {
        Click(0.5, 0.30);
        Keys("End BackSpace BackSpace BackSpace BackSpace");
        Xdo("windowfocus --sync " + window_ + " type --delay 60 " + digits);
        Keys("Return");
    }
    // An entry of a drop-down list that opens under its button at `top`, rows `row` high.
    void Choose(double buttonY, double top, double row, int index) {
        Click(0.145, buttonY);
        Click(0.145, top + row * (index + 0.5));
    }
    void ChooseAccent(int beats) { Choose(0.395, 0.44, 0.05, beats - 1); }
    void ChooseOutput(int index) { Choose(0.235, 0.28, 0.06, index); }
    void PressPlay() { Click(0.50, 0.655); }
    void PressRecord() { Click(0.7875, 0.50); }
    // Another click where the pointer rests, with no move in between.
    void ClickAgain() { Xdo("click 1 sleep 0.15"); }
    // Drags the output volume's knob from `from` to `to`, shares of the slider's track.
    void DragOutputSlider(double from, double to) {
        const std::string y = std::to_string(Y(0.27));
        Xdo("mousemove " + std::to_string(X(TrackX(from))) + " " + y +
            " sleep 0.15 mousedown 1 sleep 0.1 mousemove " +
            std::to_string(X(TrackX((from + to) / 2))) + " " + y + " sleep 0.1 mousemove " +
            std::to_string(X(TrackX(to))) + " " + y + " sleep 0.15 mouseup 1");
    }
    // How far the output slider's orange fill reaches, as a share of its track; -1 without a
    // screenshot.
    double OutputSliderFill(const std::filesystem::path& file) const {
        Testing::Screenshot shot(file.string());
        if (!shot.Ok()) return -1;
        int end = X(TrackX(0));
        for (int x = X(TrackX(0)); x <= X(TrackX(1)); ++x)
            if (Orange(shot.At(x, Y(0.27)))) end = x;
        return static_cast<double>(end - X(TrackX(0))) / (X(TrackX(1)) - X(TrackX(0)));
    }
    // Orange pixels in the middle of the preset strip, where the chosen preset is shown.
    int ChosenPresetPixels(const std::filesystem::path& file) const {
        Testing::Screenshot shot(file.string());
        int count = 0;
        for (int x = X(0.40); shot.Ok() && x < X(0.60); ++x)
            for (int y = Y(0.82); y < Y(0.95); ++y) count += Orange(shot.At(x, y));
        return count;
    }

private:
    static double TrackX(double share) { return 0.755 + 0.2 * share; }
    static void Xdo(const std::string& arguments) {
        (void)std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
    }

    Testing::RigProgram program_;
    std::string window_;
    Testing::Geometry at_;
};

class MetronomeRigTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!getenv("DISPLAY") || !getenv("PULSE_SERVER"))
            GTEST_SKIP() << "needs the rig: scripts/rig start";
        ASSERT_EQ(std::system("pactl set-sink-volume @DEFAULT_SINK@ 100%"), 0);
    }

    std::string Saved(const std::string& key) const {
        Platform::ProfileStore store(dir.Path() / "config");
        store.SetRegistryKey("Ondrel Metronome");
        return store.GetProfileString("Metronome Settings", key, "<none>");
    }
    void WriteProfile(const std::string& text) const {
        dir.Write("config/Ondrel Metronome/profile.ini", text);
    }
    std::unique_ptr<Metronome> Start() {
        auto metronome = std::make_unique<Metronome>(dir.Path() / "config");
        EXPECT_TRUE(metronome->Up()) << "the main window never appeared";
        return metronome;
    }
    // Ends the program through `close` while it plays and checks that the sound stopped no
    // later than the window went: the monitor's last loud sample, placed on the clock by the
    // time the recording's first sample arrived, against when the window was last seen.
    template <class Close>
    void CloseWhilePlaying(Metronome& metronome, Testing::MonitorRecording& recording,
                           Clock::time_point recordingStart, Close close,
                           std::vector<float>& heard) {
        close();
        ASSERT_TRUE(WaitUntil([&] { return !metronome.WindowShown(); }));
        const auto windowGone = Clock::now();
        EXPECT_EQ(metronome.Process().Wait(), 0);
        std::this_thread::sleep_for(500ms);
        heard = Floats(recording.Stop());
        const long last = LastSound(heard);
        ASSERT_GE(last, 0) << "nothing was heard at all";
        const auto soundEnd = recordingStart + std::chrono::microseconds(last * 1000000L / kRate);
        const auto late =
            std::chrono::duration_cast<std::chrono::milliseconds>(soundEnd - windowGone);
        std::printf("last sound %+lld ms from the window's going\n",
                    static_cast<long long>(late.count()));
        // What the sound server had already taken (its buffer, 35 ms on the rig) still plays
        // out after the program stopped; the window may go meanwhile.
        EXPECT_LT(late.count(), 100) << "sound went on after the window had gone";
        EXPECT_LT(last + kRate / 4, static_cast<long>(heard.size()))
            << "the recording never fell silent";
    }

    // What the monitor hears while Space starts the metronome for `playing` and stops it.
    std::vector<float> PlayedWithSpace(Metronome& metronome, const std::string& name,
                                       std::chrono::milliseconds playing) {
        Testing::MonitorRecording recording(dir.Path() / name);
        EXPECT_TRUE(recording.Started());
        metronome.Keys("space");
        std::this_thread::sleep_for(playing);
        metronome.Keys("space");
        std::this_thread::sleep_for(500ms);
        const std::vector<float> heard = Floats(recording.Stop());
        std::printf("%s\n", Describe(heard, Onsets(heard)).c_str());
        return heard;
    }

    std::filesystem::path Shot() const { return dir.Path() / "screen.png"; }
    // Waits until the window has been drawn: the output slider's fill shows.
    bool Drawn(Metronome& metronome) const {
        return WaitUntil([&] { return metronome.OutputSliderFill(Shot()) > 0.05; });
    }

    Testing::TempDir dir;
};

// --- the checks ---------------------------------------------------------------------------

TEST_F(MetronomeRigTest, TypedTempoPlaysExactBarsAndAnAccentChangeRestartsTheBar) {
    auto metronome = Start();
    ASSERT_TRUE(metronome->Up());
    Testing::MonitorRecording recording(dir.Path() / "played.raw");
    ASSERT_TRUE(recording.Started());
    const auto recordingStart = Clock::now();

    metronome->TypeTempo("120");
    metronome->PressPlay();  // by click: 4 beats a bar
    std::this_thread::sleep_for(4700ms);
    metronome->Keys("space");  // stop
    std::this_thread::sleep_for(800ms);
    metronome->ChooseAccent(3);  // while stopped: nothing may sound
    std::this_thread::sleep_for(1000ms);
    metronome->Keys("space");  // by key: 3 beats a bar
    std::this_thread::sleep_for(3300ms);
    metronome->ChooseAccent(4);  // while playing: the bar starts again
    std::this_thread::sleep_for(4300ms);
    std::vector<float> heard;
    CloseWhilePlaying(
        *metronome, recording, recordingStart, [&] { metronome->ClickClose(); }, heard);

    const std::vector<long> onsets = Onsets(heard);
    const std::vector<std::vector<long>> runs = Runs(onsets);
    std::printf("%s\n", Describe(heard, onsets).c_str());
    ASSERT_EQ(runs.size(), 2u);
    // Started by click and by Space, each bar from its first beat.
    ExpectBars(heard, runs[0], 4);
    // Each start's first click is whole, on the grid of the ones after it: a new stream's first
    // frames, which the sound server drops, must not be its attack.
    for (const std::vector<long>& run : runs)
        EXPECT_NEAR(run[1] - run[0], kBeat, 2) << "the first click's attack is cut";
    // Bars of three up to the change, then bars of four from a first beat: the first click after
    // the change is a normal one. The change cuts the click that was sounding (left out of the
    // patterns); when the new bar follows within 23 ms the two make one onset, and the new bars
    // are heard from their second beat on.
    const std::vector<long>& changed = runs[1];
    const std::string heardPattern = Pattern(heard, changed);
    std::printf("after the change: %s\n", heardPattern.c_str());
    std::size_t restart = 3;
    int first = 0;
    auto matches = [&](std::size_t at, int beat) {
        const std::size_t length = changed.size() - at - 1;
        return heardPattern.compare(0, at - 1, Bars(3, at - 1)) == 0 &&
               heardPattern.compare(at, length, Bars(4, beat + length).substr(beat)) == 0;
    };
    for (; restart + 5 <= changed.size(); ++restart) {
        if (matches(restart, 0)) break;
        if (matches(restart, 1)) {
            first = 1;
            break;
        }
    }
    ASSERT_LT(restart + 5, changed.size() + 1)
        << "no restart into bars of four in " << heardPattern;
    ExpectBars(heard, {changed.begin(), changed.begin() + restart}, 3);
    ExpectBars(heard, {changed.begin() + restart, changed.end()}, 4, first);

    EXPECT_EQ(Saved("Bpm"), "120");
    EXPECT_EQ(Saved("Accent"), "ACCENT: 4");
    EXPECT_EQ(Saved("Output"), "TONE");
}

TEST_F(MetronomeRigTest, FreshStartShowsModeratoAndTheOutputSliderAndTheSinkFollowEachOther) {
    auto metronome = Start();
    ASSERT_TRUE(metronome->Up());
    ASSERT_TRUE(Drawn(*metronome));
    // 114 is Moderato's tempo: the preset strip shows it chosen.
    EXPECT_GT(metronome->ChosenPresetPixels(Shot()), 50);
    // Nobody listens on this screen: the program holds no recording stream (the sound library
    // may probe the devices for a moment while it starts).
    EXPECT_TRUE(WaitUntil([] { return !Recording(); }));

    // The slider was set from the sink's 100 %; moving it moves the sink.
    metronome->DragOutputSlider(0.95, 0.40);
    EXPECT_TRUE(WaitUntil([] { return std::abs(SinkPercent() - 40) <= 6; }))
        << "sink at " << SinkPercent() << " %";
    // And another program changing the sink moves the slider.
    ASSERT_EQ(std::system("pactl set-sink-volume @DEFAULT_SINK@ 75%"), 0);
    EXPECT_TRUE(WaitUntil([&] {
        return std::fabs(metronome->OutputSliderFill(Shot()) - 0.75) < 0.06;
    })) << "slider fill at "
        << metronome->OutputSliderFill(Shot());
    EXPECT_EQ(SinkPercent(), 75) << "the slider's move must not be written back";

    metronome->Process().Signal(SIGTERM);
    EXPECT_EQ(metronome->Process().Wait(), 0);
    EXPECT_EQ(Saved("Bpm"), "114");
    EXPECT_EQ(Saved("Accent"), "ACCENT: 4");
    EXPECT_EQ(Saved("Output"), "TONE");
}

// A sine of `frequency` played into the sink for `seconds` by pacat, on a thread of its own.
class SinkTone {
public:
    SinkTone(const Testing::TempDir& dir, double frequency, double seconds) {
        std::vector<float> samples(static_cast<std::size_t>(seconds * kRate));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = 0.5f * static_cast<float>(std::sin(2 * M_PI * frequency * i / kRate));
        const std::filesystem::path file =
            dir.Write("tone.raw", std::string(reinterpret_cast<const char*>(samples.data()),
                                              samples.size() * sizeof(float)));
        player_ = std::thread([file] {
            (void)std::system(
                ("pacat --raw --format=float32le --rate=44100 --channels=1 '" + file.string() + "'")
                    .c_str());
        });
    }
    ~SinkTone() { player_.join(); }

private:
    std::thread player_;
};

// Share of 0.1 s windows from the first loud sample on, over `seconds`, in which `frequency`
// stands out of the rest of the sound.
double ShareWith(const std::vector<float>& s, double frequency, double seconds) {
    long from = 0;
    while (from < static_cast<long>(s.size()) && std::fabs(s[from]) <= kLoud) ++from;
    const long window = kRate / 10;
    int with = 0, windows = 0;
    for (long at = from; at + window <= from + static_cast<long>(seconds * kRate); at += window) {
        ++windows;
        if (at + window > static_cast<long>(s.size())) continue;
        double total = 0;
        for (long i = at; i < at + window; ++i) total += s[i] * s[i];
        // A window's energy E all at one frequency gives E * N / 2 there: at least half of it.
        with += PowerAt(s, at, window, frequency) > 0.5 * total * window / 2;
    }
    return windows ? static_cast<double>(with) / windows : 0;
}

TEST_F(MetronomeRigTest, ASavedSampleSetPlaysItsSoundsAndARecordingLoopsBackOut) {
    WriteProfile("[Metronome Settings]\nBpm=120\nAccent=ACCENT: 4\nOutput=Cowbell\n");
    auto metronome = Start();
    ASSERT_TRUE(metronome->Up());
    ASSERT_TRUE(Drawn(*metronome));
    EXPECT_EQ(metronome->ChosenPresetPixels(Shot()), 0) << "120 is no preset: CUSTOM";

    {
        std::vector<float> heard;
        ASSERT_NO_FATAL_FAILURE(heard = PlayedWithSpace(*metronome, "cowbell.raw", 4700ms));
        const std::vector<std::vector<long>> runs = Runs(Onsets(heard));
        ASSERT_EQ(runs.size(), 1u);
        ASSERT_GE(runs[0].size(), 8u);
        EXPECT_LE(Drift(runs[0]), kDevicePeriod);
        EXPECT_LE(std::labs(MedianBeat(runs[0]) - kBeat), 1);
        const std::vector<float> cowbell[] = {Sound("cowbell-normal.wav"),
                                              Sound("cowbell-accent.wav")};
        const std::vector<float> woodBlock[] = {Sound("wood-block-normal.wav"),
                                                Sound("wood-block-accent.wav")};
        ASSERT_FALSE(cowbell[0].empty() || cowbell[1].empty() || woodBlock[0].empty());
        for (std::size_t k = 0; k + 1 < runs[0].size(); ++k) {
            const int accent = k % 4 == 3;
            const double right = Likeness(heard, runs[0][k], cowbell[accent]);
            const double other = Likeness(heard, runs[0][k], cowbell[1 - accent]);
            const double wrongSet = Likeness(heard, runs[0][k], woodBlock[accent]);
            EXPECT_GT(right, 0.9) << "click " << k;
            EXPECT_GT(right, other + 0.1) << "click " << k;
            EXPECT_GT(right, wrongSet + 0.1) << "click " << k;
        }
    }

    // Two seconds of a 660 Hz tone recorded from the input (the sink's monitor on the rig).
    {
        SinkTone tone(dir, 660.0, 3.5);
        std::this_thread::sleep_for(600ms);
        metronome->PressRecord();
        std::this_thread::sleep_for(2000ms);
        metronome->ClickAgain();  // a button takes a second click without a move
    }
    metronome->ChooseOutput(1);  // SAMPLE, while stopped: nothing starts
    Testing::MonitorRecording recording(dir.Path() / "loop.raw");
    ASSERT_TRUE(recording.Started());
    const auto recordingStart = Clock::now();
    std::this_thread::sleep_for(700ms);
    metronome->Keys("space");
    std::this_thread::sleep_for(5000ms);
    std::vector<float> heard;
    CloseWhilePlaying(
        *metronome, recording, recordingStart, [&] { metronome->Process().Signal(SIGTERM); },
        heard);
    long first = 0;
    while (first < static_cast<long>(heard.size()) && std::fabs(heard[first]) <= kLoud) ++first;
    EXPECT_GT(first, kRate / 2) << "sound before Space: choosing SAMPLE started playback";
    // The recording is about two seconds long: four seconds of tone is the loop going round.
    EXPECT_GT(ShareWith(heard, 660.0, 4.0), 0.9);

    EXPECT_EQ(Saved("Bpm"), "120");
    EXPECT_EQ(Saved("Accent"), "ACCENT: 4");
    EXPECT_EQ(Saved("Output"), "SAMPLE");
}

}  // namespace

TEST_F(MetronomeRigTest, TheSpeedTrainerStepsTheTempoExactlyAtBarLines) {
    // Bars of two beats: 100, 150, then 200 BPM for good; a beat of 26460, 17640, 13230 samples.
    WriteProfile(
        "[Metronome Settings]\nBpm=120\nAccent=ACCENT: 2\nTrainerOn=1\nTrainerStart=100\n"
        "TrainerTarget=200\nTrainerStep=50\nTrainerBars=1\nTrainerAtTarget=Stop\n");
    auto metronome = Start();
    ASSERT_TRUE(metronome->Up());
    std::vector<float> heard;
    ASSERT_NO_FATAL_FAILURE(heard = PlayedWithSpace(*metronome, "trainer.raw", 4000ms));
    const std::vector<std::vector<long>> runs = Runs(Onsets(heard));
    ASSERT_EQ(runs.size(), 1u);
    const std::vector<long>& run = runs[0];
    ASSERT_GE(run.size(), 9u);
    // After the first (the stream settling): each tempo's beats, no gap and no doubled click at
    // a change; the bar of 150 has exactly its two beats.
    std::vector<long> beats;
    for (std::size_t k = 2; k < run.size(); ++k) beats.push_back(run[k] - run[k - 1]);
    const long expected[] = {26460, 17640, 17640};
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(beats[k], expected[k], 1) << "beat " << k;
    for (std::size_t k = 3; k < beats.size(); ++k) EXPECT_NEAR(beats[k], 13230, 1) << "beat " << k;
}
