// The tuner screen of the default skin, reached as the user reaches it (main window, then its
// switch), on a virtual sound device and an in-memory mixer.
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AnalysisFrame.h"
#include "audio/BarBuffer.h"
#include "audio/ScopeBuffer.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/ToggleButton.h"
#include "pym/gui/Window.h"
#include "settings/AppSettings.h"
#include "tests/support/AppScreenFixture.h"
#include "tuner/PitchAnalyser.h"
#include "tuner/ReferenceTone.h"
#include "tuner/TunerLayout.h"
#include "widgets/MessageBoxA.h"

namespace {

using Testing::Type;

class TunerScreenTest : public Testing::AppScreenFixture {
protected:
    void SetUp() override {
        AppScreenFixture::SetUp();
        AppSettings& settings = DllAppSettingsInstance();
        settings.readOutInterval = 0.0f;
        settings.titleInterval = 0.0f;
    }
    TunerLayout& Open() { return OpenWindow<TunerLayout>("TunerLayout", "Tuner"); }
    // A second of a steady sine at the input, frame by frame as the input path delivers it,
    // each frame read out as the screen's timer would (`painted`: by the timer itself, which
    // paints what the read-out changed).
    void Hear(TunerLayout& tuner, float frequency, bool painted = false, float loudness = 0.3f) {
        std::vector<float> frame(2048);
        for (int hop = 0; hop < 86; ++hop) {
            for (std::size_t i = 0; i < frame.size(); ++i)
                frame[i] = loudness * std::sin(2.0 * M_PI * frequency *
                                               static_cast<double>(hop * 128 + i) / 11025.0);
            DllAnalysisFrameInstance().Deliver(frame.data(), static_cast<int>(frame.size()));
            DllScopeBufferInstance().Deliver(frame.data() + frame.size() - ScopeBuffer::kBlock,
                                             ScopeBuffer::kBlock);
            if (painted)
                Native().Inject(Type::Timer);
            else
                tuner.Refresh();
        }
    }
    // What the window shows, pixel by pixel.
    std::vector<std::uint32_t> Shown() {
        std::vector<std::uint32_t> pixels;
        const Platform::HostRect window = Native().Geometry();
        for (int y = 0; y < window.height; ++y)
            for (int x = 0; x < window.width; ++x) pixels.push_back(Native().PixelAt(x, y));
        return pixels;
    }
    float Target() const { return DllAppSettingsInstance().desiredFrequency; }
    bool Listening() { return DllAudioSystemInstance().Input().IsOpen(); }
};

TEST_F(TunerScreenTest, ATypedTargetIsClampedAndTextThatIsNoNumberKeepsIt) {
    TunerLayout& tuner = Open();
    auto& box = Widget<Pym::EditBox>("DesiredFrequency");
    Click(Widget("Play"));
    tuner.SetTargetFromText("7000");
    EXPECT_EQ(box.GetText(), "6645.00");
    EXPECT_FLOAT_EQ(Target(), 6645.0f);
    // The reference tone follows the target.
    EXPECT_EQ(static_cast<long long>(DllBarBufferInstance().Size()),
              ReferenceTone::SampleCount(6645.0f));
    box.SetText("6645.5");
    tuner.SetTargetFromText("6645");
    EXPECT_EQ(box.GetText(), "6645.00");  // only the box is rewritten
    for (const char* bad : {"abc", "", "nan", "inf"}) {
        tuner.SetTargetFromText(bad);
        EXPECT_FLOAT_EQ(Target(), 6645.0f) << bad;
        EXPECT_EQ(box.GetText(), "6645.00") << bad;
    }
    tuner.SetTargetFromText("-3");
    EXPECT_FLOAT_EQ(Target(), 16.0f);
    tuner.SetTargetFromText("1e9");
    EXPECT_FLOAT_EQ(Target(), 6645.0f);
}

TEST_F(TunerScreenTest, TheReferenceToneLoopsWholePeriodsWithoutAStep) {
    EXPECT_EQ(ReferenceTone::LoopLength(440.0f), 401);
    EXPECT_EQ(ReferenceTone::SampleCount(440.0f), 1099 * 401);
    EXPECT_EQ(ReferenceTone::SampleCount(30.0f), ReferenceTone::kLongest);  // no loop in reach
    std::vector<float> tone;
    ReferenceTone::Render(440.0f, tone);
    float largest = 0.0f;
    for (std::size_t i = 1; i < tone.size(); ++i)
        largest = std::max(largest, std::fabs(tone[i] - tone[i - 1]));
    EXPECT_LE(std::fabs(tone.front() - tone.back()), largest);  // the join is one more step
}

TEST_F(TunerScreenTest, AutoSelectSnapsToTheStylesNoteAndIgnoresNotesItLacks) {
    TunerLayout& tuner = Open();
    ASSERT_EQ(tuner.Targets().size(), 6u);  // the guitar's six strings
    Hear(tuner, 110.6f);
    EXPECT_NEAR(Target(), 110.0f, 0.01f);
    EXPECT_EQ(TextOf("VisNote"), "A");
    EXPECT_TRUE(Widget("NoteContainer").Children()[1]->IsSelected());  // the A string's button
    Hear(tuner, 440.0f);  // A4: no string of the guitar
    EXPECT_NEAR(Target(), 110.0f, 0.01f);
    EXPECT_EQ(TextOf("VisFreq"), "440.00 Hz");

    // Minimised, the window's title carries the reading.
    Pym::Window& shown = *window;
    const std::string title = shown.GetTitle();
    shown.Minimize();
    Hear(tuner, 441.2f);
    EXPECT_EQ(shown.GetTitle(), "441.20 Hz (110.00 Hz, A)");
    shown.Restore();
    Hear(tuner, 441.2f);
    EXPECT_EQ(shown.GetTitle(), title);
}

TEST_F(TunerScreenTest, CalibrationMovesEveryNoteAndSurvivesARestart) {
    TunerLayout& tuner = Open();
    Hear(tuner, 110.0f);  // the guitar's A string becomes the target
    const std::vector<std::pair<std::string, float>> at440 = tuner.Targets();
    for (int i = 0; i < 4; ++i) Click(Widget("CalibrateUp"));
    EXPECT_EQ(TextOf("Calibration"), "A4 442.0 Hz");
    ASSERT_EQ(tuner.Targets().size(), at440.size());
    for (std::size_t i = 0; i < at440.size(); ++i) {
        EXPECT_EQ(tuner.Targets()[i].first, at440[i].first);
        EXPECT_NEAR(tuner.Targets()[i].second, at440[i].second * 442.0f / 440.0f, 1e-3f);
    }
    EXPECT_EQ(Target(), tuner.Targets()[1].second);  // still on the A string
    EXPECT_TRUE(Widget("NoteContainer").Children()[1]->IsSelected());
    Hear(tuner, 221.0f);  // A3 at this calibration, in tune
    EXPECT_EQ(TextOf("VisNote"), "A");

    // Out of range and between steps: the nearest calibration offered.
    tuner.SetCalibration(500.0f);
    EXPECT_EQ(TextOf("Calibration"), "A4 466.0 Hz");
    tuner.SetCalibration(std::nanf(""));
    EXPECT_EQ(TextOf("Calibration"), "A4 440.0 Hz");
    EXPECT_EQ(tuner.Targets(), at440);  // exactly the file's notes again
    tuner.SetCalibration(415.2f);
    EXPECT_EQ(TextOf("Calibration"), "A4 415.0 Hz");

    // Kept in the profile: the next run starts calibrated.
    window.reset();
    Open();
    EXPECT_EQ(TextOf("Calibration"), "A4 415.0 Hz");
}

// A read-out repaints only what it changed: nothing of the displays and read-outs while the
// note stays, the needle's neighbourhood while it moves; and what the pieces built is what
// repainting each display and read-out whole shows.
TEST_F(TunerScreenTest, ReadOutsRepaintOnlyWhatChangedAsAWholeRepaintWouldShowIt) {
    TunerLayout& tuner = Open();
    // Around F4, on the cents scale: four periods to a hop, so every frame is the same.
    tuner.SetAutoSelect(false);
    tuner.SetTarget(349.23f);
    const float steady = 4.0f * 11025.0f / 128.0f;
    Hear(tuner, steady, true);
    // The needle's last steps come from the window's ticks.
    for (int i = 0; i < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        Native().Inject(Type::Timer);
    }
    Native().ClearPresented();
    Hear(tuner, steady, true);
    for (const char* name : {"TuneVis", "VisNote", "VisFreq", "ThresholdVis", "PowerLightVis"}) {
        Pym::GuiObject& object = Widget(name);
        for (const Platform::HostRect& r : Native().Presented())
            EXPECT_FALSE(r.x < object.GetAbsoluteX() + object.GetWidth() &&
                         object.GetAbsoluteX() < r.x + r.width &&
                         r.y < object.GetAbsoluteY() + object.GetHeight() &&
                         object.GetAbsoluteY() < r.y + r.height)
                << name;
    }

    // Notes that move the needle across the scale and back, louder and softer.
    Pym::GuiObject& tuning = Widget("TuneVis");
    const int wholeDisplay = tuning.GetWidth() * tuning.GetHeight();
    for (auto [frequency, loudness] : {std::pair{350.0f, 0.3f},
                                       {341.0f, 0.05f},
                                       {357.0f, 0.6f},
                                       {344.0f, 0.3f},
                                       {346.1f, 0.2f}}) {
        Native().ClearPresented();
        Hear(tuner, frequency, true, loudness);
        EXPECT_FALSE(Native().Presented().empty());
        for (const Platform::HostRect& r : Native().Presented())
            EXPECT_LT(r.width * r.height, wholeDisplay) << frequency;
    }
    const std::vector<std::uint32_t> pieces = Shown();
    for (const char* name :
         {"TuneVis", "SampleVis", "VisNote", "VisFreq", "ThresholdVis", "PowerLightVis"})
        Widget(name).Pym::GuiObject::Redraw();
    Native().Inject(Type::FocusGained);
    EXPECT_EQ(Shown(), pieces);
}

// A read-out due before the input's next piece waits for it, but never past two read-out
// intervals, whatever pace the pieces promise.
TEST_F(TunerScreenTest, AReadOutWaitsForTheNextPieceNoLongerThanTwoIntervals) {
    TunerLayout& tuner = Open();
    Hear(tuner, 440.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    tuner.Refresh();  // reads out what came; nothing new since
    ASSERT_FALSE(DllPitchAnalyserInstance().HasNewFrame());
    // Callbacks that never paused count as one endless piece.
    DllAnalysisFrameInstance().EndCallback(1 << 30);
    EXPECT_LE(tuner.TickDelayMs(), 2 * 50);
}

TEST_F(TunerScreenTest, TheInputIsOpenOnlyWhileTheScreenListens) {
    Open();
    EXPECT_TRUE(Listening());
    Click(Widget("Standby"));
    EXPECT_FALSE(Listening());
    Click(Widget("Standby"));
    EXPECT_TRUE(Listening());
    Click(Widget("MetronomeButton"));
    EXPECT_FALSE(Listening());
    window->Host()->Screens().ActivateScreen("Tuner", true);
    EXPECT_TRUE(Listening());
}

TEST_F(TunerScreenTest, AnInputThatCannotOpenSaysSoAndTheReferenceStillPlays) {
    Open();
    auto& standby = Widget<Pym::ToggleButton>("Standby");
    Click(standby);
    ASSERT_TRUE(standby.IsDown());
    device->inputOpenResult = -9985;
    std::string said;
    host.Post([&] {
        Pym::MessageBoxA* box = Pym::MessageBoxA::Showing();
        ASSERT_NE(box, nullptr);
        said = Find<Pym::Text>(box, "Message")->GetText();
        Click(*box->Buttons().front());
    });
    Click(standby);
    EXPECT_EQ(said, "Could not open input device! Stop other applications using your sound port");
    EXPECT_TRUE(standby.IsDown());
    EXPECT_FALSE(Listening());
    // The reference tone needs no input.
    Click(Widget("Play"));
    EXPECT_TRUE(DllAudioSystemInstance().Output().IsActive());
}

}  // namespace
