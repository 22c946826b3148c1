// The tuner screen of the default skin, reached as the user reaches it (main window, then its
// switch), on a virtual sound device and an in-memory mixer.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "audio/AnalysisFrame.h"
#include "audio/BarBuffer.h"
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
    // each frame read out as the screen's timer would.
    void Hear(TunerLayout& tuner, float frequency) {
        std::vector<float> frame(2048);
        for (int hop = 0; hop < 86; ++hop) {
            for (std::size_t i = 0; i < frame.size(); ++i)
                frame[i] = 0.3f * std::sin(2.0 * M_PI * frequency *
                                           static_cast<double>(hop * 128 + i) / 11025.0);
            DllAnalysisFrameInstance().Deliver(frame.data(), static_cast<int>(frame.size()));
            tuner.Refresh();
        }
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
