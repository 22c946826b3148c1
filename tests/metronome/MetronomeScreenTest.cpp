// The metronome screen of the default skin, built as the program builds it (main window, then
// its metronome screen), on a virtual sound device and an in-memory mixer. With
// ONDREL_SKIN_PNG set to a folder, the screen is written there as metronome.png and
// metronome-2x.png, to be looked at.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "metronome/BeatPhase.h"
#include "metronome/MetronomeLayout.h"
#include "metronome/MetronomeVis.h"
#include "platform/HostWindow.h"
#include "platform/ProfileStore.h"
#include "pym/core/Clock.h"
#include "pym/gui/AppWindow.h"
#include "pym/gui/EditBox.h"
#include "pym/gui/LargeFocusContainer.h"
#include "pym/gui/ObjectCreation.h"
#include "pym/gui/ObjectSlider.h"
#include "pym/gui/PymWnd.h"
#include "pym/gui/ScreenManager.h"
#include "pym/gui/Text.h"
#include "pym/gui/ToggleButton.h"
#include "settings/AppSettings.h"
#include "settings/MetronomeProfile.h"
#include "tests/pym/gui/WidgetFixture.h"
#include "tests/support/AppScreenFixture.h"
#include "widgets/ComboBox.h"
#include "widgets/MenuButton.h"

namespace fs = std::filesystem;
using Type = Platform::HostEvent::Type;

namespace {

class MetronomeScreenTest : public Testing::AppScreenFixture {
protected:
    // The main window, shown, with the metronome screen it shows at start.
    MetronomeLayout& Open() {
        layout = &OpenWindow<MetronomeLayout>("MetronomeLayout");
        return *layout;
    }
    void Close() {
        AppScreenFixture::Close();
        layout = nullptr;
    }

    MetronomeLayout* layout = nullptr;
};

TEST_F(MetronomeScreenTest, AFreshStartShowsTheDefaultTempoAccentAndSound) {
    MetronomeLayout& metronome = Open();
    EXPECT_TRUE(metronome.SettingsLoaded());
    EXPECT_EQ(TextOf("DesiredBpm"), "114");
    EXPECT_EQ(TextOf("VisTitle"), "Moderato");
    EXPECT_EQ(MenuText("ACCENT"), "ACCENT: 4");
    EXPECT_EQ(MenuText("OUTPUT"), "TONE");
    EXPECT_EQ(DllAppSettingsInstance().accent, 4);
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 114);

    auto& presets = Widget<Pym::LargeFocusContainer>("PresetContainer");
    EXPECT_EQ(presets.ItemCount(), 9);
    EXPECT_TRUE(presets.HasSelection());
    EXPECT_EQ(presets.ItemAt(presets.FocusedIndex())->GetName(), "Moderato");
    // One row per name, over the list's background.
    EXPECT_EQ(Widget<ComboBox>("AccentCombo").Entries().size(), 12u);
    EXPECT_EQ(Widget<ComboBox>("OutputCombo").Entries().size(), 5u);
    EXPECT_FALSE(Playing());
}

TEST_F(MetronomeScreenTest, TempoTextIsLimitedAndNamesItsPreset) {
    MetronomeLayout& metronome = Open();
    auto& presets = Widget<Pym::LargeFocusContainer>("PresetContainer");
    metronome.SetBpmFromText("3");
    EXPECT_EQ(TextOf("DesiredBpm"), "10");
    EXPECT_EQ(TextOf("VisTitle"), "CUSTOM");
    EXPECT_FALSE(presets.HasSelection());
    metronome.SetBpmFromText("9999");
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 5000);
    metronome.SetBpmFromText("120");
    metronome.SetBpmFromText("abc");
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 5000);

    // Typed into the box and entered.
    Click(Widget("DesiredBpm"));
    ASSERT_EQ(window->Host()->Screens().Focus(), &Widget("DesiredBpm"));
    Platform::HostEvent end;
    end.type = Type::KeyDown;
    end.code = Platform::KeyEnd | Platform::kKeyDownBit;
    Native().Inject(end);
    for (int i = 0; i < 4; ++i) Key(8);
    for (char c : std::string("132\r")) Key(static_cast<unsigned char>(c));
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 132);
    EXPECT_EQ(TextOf("VisTitle"), "Allegro");
    EXPECT_TRUE(presets.HasSelection());
    EXPECT_EQ(presets.ItemAt(presets.FocusedIndex())->GetName(), "Allegro");

    // A preset chosen in the carousel sets its tempo.
    presets.MoveFocus(-2);
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 92);
    EXPECT_EQ(TextOf("DesiredBpm"), "92");
    EXPECT_EQ(TextOf("VisTitle"), "Andante");
}

TEST_F(MetronomeScreenTest, TheTempoFollowsTheKeysTheWheelAndTaps) {
    MetronomeLayout& metronome = Open();
    auto special = [&](std::uint32_t key) {
        Platform::HostEvent event;
        event.type = Type::KeyDown;
        event.code = key | Platform::kKeyDownBit;
        Native().Inject(event);
    };
    metronome.SetBpmFromText("91");
    special(Platform::KeyUp);
    EXPECT_EQ(TextOf("DesiredBpm"), "92");
    EXPECT_EQ(TextOf("VisTitle"), "Andante");
    special(Platform::KeyPageUp);
    special(Platform::KeyDown);
    special(Platform::KeyPageDown);
    special(Platform::KeyPageDown);
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 81);
    EXPECT_EQ(TextOf("VisTitle"), "CUSTOM");
    metronome.SetBpmFromText("12");
    special(Platform::KeyPageDown);
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 10);

    Pym::GuiObject& tempo = Widget("DesiredBpm");
    Platform::HostEvent wheel;
    wheel.type = Type::Wheel;
    wheel.x = tempo.GetAbsoluteX() + tempo.GetWidth() / 2;
    wheel.y = tempo.GetAbsoluteY() + tempo.GetHeight() / 2;
    wheel.delta = 2 * 120;
    Native().Inject(Type::MouseMove, wheel.x, wheel.y);
    Native().Inject(wheel);
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 12);

    // Taps while playing restart the bar at the tapped tempo.
    Key(' ');
    const int opens = device->opens;
    for (double at : {100.0, 100.5, 101.0}) metronome.TapAt(at);
    EXPECT_EQ(TextOf("DesiredBpm"), "120");
    EXPECT_GT(device->opens, opens);
    Key('t');  // a tap long after the last starts a new count
    EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 120);
}

TEST_F(MetronomeScreenTest, SpacePlaysAndStopsAndChoicesRestartOnlyWhatPlays) {
    MetronomeLayout& metronome = Open();
    auto& play = Widget<Pym::ToggleButton>("Play");
    metronome.AccentChosen("ACCENT: 3");  // stopped: stays stopped
    EXPECT_FALSE(Playing());
    EXPECT_EQ(DllAppSettingsInstance().accent, 3);

    Key(' ');
    EXPECT_TRUE(play.IsDown());
    EXPECT_TRUE(Playing());
    const int opens = device->opens;
    metronome.AccentChosen("ACCENT: 5");
    EXPECT_TRUE(Playing());
    EXPECT_GT(device->opens, opens);  // the bar started again, from its start
    EXPECT_EQ(MenuText("ACCENT"), "ACCENT: 5");
    auto& accents = Widget<ComboBox>("AccentCombo");
    EXPECT_EQ(accents.Choice(), "ACCENT: 5");  // the list opens on the current choice
    Click(Widget("ACCENT"));
    ASSERT_TRUE(accents.IsVisible());
    for (const auto& entry : accents.Entries())
        EXPECT_EQ(entry->IsSelected(), entry->GetName() == "ACCENT: 5") << entry->GetName();
    accents.TogglePopup();
    metronome.OutputChosen("Background");  // the list's own picture: nothing changes
    metronome.AccentChosen("Background");
    EXPECT_EQ(MenuText("OUTPUT"), "TONE");
    EXPECT_EQ(DllAppSettingsInstance().accent, 5);

    // While the tempo box has the keyboard, Space is the box's.
    Click(Widget("DesiredBpm"));
    Key(' ');
    EXPECT_TRUE(play.IsDown());
    Key('\r');
    Key(' ');
    EXPECT_FALSE(play.IsDown());
    EXPECT_FALSE(Playing());
}

// A click ends the hover of what it clicked; the host then reports the pointer again where it
// rests (Click moves to the same point), and a second click there must count.
TEST_F(MetronomeScreenTest, PlayTakesASecondClickWhereThePointerRests) {
    Open();
    auto& play = Widget<Pym::ToggleButton>("Play");
    Click(play);
    EXPECT_TRUE(play.IsDown());
    EXPECT_TRUE(Playing());
    Click(play);
    EXPECT_FALSE(play.IsDown());
    EXPECT_FALSE(Playing());
}

// The displays are repainted at the refresh rate while the metronome sounds, once more after
// it stops, and not at all while it stands still.
TEST_F(MetronomeScreenTest, DisplaysRepaintOnlyWhileTheMetronomeSounds) {
    Open();
    Pym::GuiObject& light = Widget("MetronomeVis");
    const Platform::HostRect lit{light.GetAbsoluteX(), light.GetAbsoluteY(), light.GetWidth(),
                                 light.GetHeight()};
    // One tick after the refresh interval: whether the beat light was presented again.
    auto repainted = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        Native().ClearPresented();
        Native().Inject(Type::Timer);
        for (const Platform::HostRect& r : Native().Presented())
            if (r.x < lit.x + lit.width && lit.x < r.x + r.width && r.y < lit.y + lit.height &&
                lit.y < r.y + r.height)
                return true;
        return false;
    };
    EXPECT_FALSE(repainted());
    Key(' ');
    EXPECT_TRUE(repainted());
    EXPECT_TRUE(repainted());
    Key(' ');
    EXPECT_TRUE(repainted()) << "the stop is shown";
    EXPECT_FALSE(repainted());
}

// The recording and the bar are gone before the audio system at exit: a screen that closes
// while it records and plays must leave no stream running that reads them.
TEST_F(MetronomeScreenTest, ClosingWhileRecordingAndPlayingStopsBothStreams) {
    Open();
    Click(Widget("Record"));
    Key(' ');
    ASSERT_NE(device->InputStream(), nullptr);
    EXPECT_EQ(device->InputStream()->IsActive(), 1);
    EXPECT_TRUE(Playing());
    Close();
    // Stopped and closed: the sound server keeps no recording of the program.
    EXPECT_FALSE(DllAudioSystemInstance().Input().IsOpen());
    EXPECT_FALSE(Playing());
}

TEST_F(MetronomeScreenTest, SettingsSurviveARestartAndBadOnesStillBuild) {
    {
        MetronomeLayout& metronome = Open();
        metronome.SetBpmFromText("72");
        metronome.AccentChosen("ACCENT: 7");
        metronome.OutputChosen("Cowbell");
        metronome.SubdivisionChosen("Triplets");
        Key(' ');
        ASSERT_TRUE(Playing());
        EXPECT_EQ(DllAppSettingsInstance().subdivision, 3);
        // The close button stops the sound first, then closes the window.
        Click(Widget("Chrome->Close"));
        EXPECT_FALSE(Playing());
        EXPECT_FALSE(window->IsVisible());
        Close();
    }
    EXPECT_EQ(ReadProfileInt("Bpm", 0), 72);
    EXPECT_EQ(ReadProfileString("Accent", ""), "ACCENT: 7");
    EXPECT_EQ(ReadProfileString("Output", ""), "Cowbell");
    {
        Open();
        EXPECT_EQ(TextOf("DesiredBpm"), "72");
        EXPECT_EQ(TextOf("VisTitle"), "Adagio");
        EXPECT_EQ(MenuText("ACCENT"), "ACCENT: 7");
        EXPECT_EQ(DllAppSettingsInstance().accent, 7);
        EXPECT_EQ(MenuText("OUTPUT"), "Cowbell");
        EXPECT_EQ(MenuText("SUBDIV"), "Triplets");
        EXPECT_EQ(DllAppSettingsInstance().subdivision, 3);
        Close();
    }
    // Names no item carries and a tempo that is no number: the screen builds with the fresh
    // start's choices and plays.
    WriteProfileString("Bpm", "fast");
    WriteProfileString("Accent", "ACCENT: 99");
    WriteProfileString("Output", "Gong");
    WriteProfileString("Subdivision", "Quintuplets");
    Open();
    EXPECT_EQ(MenuText("SUBDIV"), "None");
    EXPECT_EQ(DllAppSettingsInstance().subdivision, 1);
    EXPECT_EQ(TextOf("DesiredBpm"), "114");
    EXPECT_EQ(MenuText("ACCENT"), "ACCENT: 4");
    EXPECT_EQ(DllAppSettingsInstance().accent, 4);
    EXPECT_EQ(MenuText("OUTPUT"), "TONE");
    Key(' ');
    EXPECT_TRUE(Playing());
}

TEST_F(MetronomeScreenTest, TheTrainerTakesThePresetsPlacePlaysItsPlanAndIsKept) {
    auto enter = [&](const std::string& field, const std::string& text) {
        Pym::Signal::EditBoxSignal entered(text);
        Widget<Pym::EditBox>("TrainerPanel->" + field).SendSignalToSelf(entered);
        return TextOf("TrainerPanel->" + field);
    };
    {
        MetronomeLayout& metronome = Open();
        EXPECT_FALSE(Widget("TrainerPanel").IsVisible());
        Click(Widget("Trainer"));
        EXPECT_TRUE(Widget("TrainerPanel").IsVisible());
        EXPECT_FALSE(Widget("PresetContainer").IsVisible());
        // Out of range is held at the nearest value; what is no number keeps the field's.
        EXPECT_EQ(enter("TrainerStart", "99999999999999999999"), "5000");
        EXPECT_EQ(enter("TrainerBars", "0"), "1");
        EXPECT_EQ(enter("TrainerStep", "fast"), "4");
        enter("TrainerStart", "100");
        enter("TrainerTarget", "150");
        enter("TrainerStep", "50");
        metronome.SetBpmFromText("72");
        Key(' ');
        ASSERT_TRUE(Playing());
        // The tempo shown is the trainer's, heard; the settings keep the user's.
        for (int block = 0; block < 8; ++block) device->OutputStream()->Clock(2048);
        Native().Inject(Type::Timer);
        EXPECT_EQ(TextOf("DesiredBpm"), "100");
        EXPECT_EQ(TextOf("VisTitle"), "TRAINER");
        EXPECT_EQ(DllAppSettingsInstance().desiredBpm, 72);
        Key(' ');
        Native().Inject(Type::Timer);
        EXPECT_EQ(TextOf("DesiredBpm"), "72");
        Close();
    }
    EXPECT_EQ(ReadProfileInt("TrainerOn", 0), 1);
    EXPECT_EQ(ReadProfileInt("TrainerStart", 0), 100);
    EXPECT_EQ(ReadProfileInt("TrainerBars", 0), 1);
    Open();
    EXPECT_TRUE(Widget("TrainerPanel").IsVisible());
    EXPECT_EQ(TextOf("TrainerPanel->TrainerTarget"), "150");
    Click(Widget("Trainer"));
    EXPECT_TRUE(Widget("PresetContainer").IsVisible());
    Key(' ');
    for (int block = 0; block < 8; ++block) device->OutputStream()->Clock(2048);
    Native().Inject(Type::Timer);
    EXPECT_EQ(TextOf("DesiredBpm"), "72") << "without the trainer Play plays the tempo";
}

// Start-up checks every screen the skin declares: the default skin's all pass, and one whose
// About document is gone is refused then, not when About is first clicked.
TEST_F(MetronomeScreenTest, EveryScreenIsCheckedAtStartAndAMissingAboutDocumentIsFoundThen) {
    auto build = [this] {
        window = std::make_unique<Pym::AppWindow>();
        ASSERT_TRUE(window->Build(
            loader.GetChildElement(loader.GetRootElement("XML/Metronome.xml"), "MetronomeApp")));
        window->Host()->Screens().CheckAllScreens();
    };
    {
        Pym::CreationWatch watch;
        EXPECT_NO_THROW(build());
        EXPECT_FALSE(watch.Failed()) << watch.FirstFailure();
    }
    Close();
    fs::remove(dir.Path() / "XML/Main/About.xml");
    EXPECT_THROW(build(), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("XML/Main/About.xml is missing"));
}

TEST_F(MetronomeScreenTest, VolumeSlidersAndTheMixerFollowEachOther) {
    MixerLine out;
    ASSERT_TRUE(mixer->OutputLine(out));
    Open();
    auto& output = Widget<Pym::ObjectSlider>("VolumeOutput");
    output.SetValue(30);  // as a drag does
    EXPECT_EQ(DllAudioSystemInstance().GetOutputVolume(), 30);
    const int writes = mixer->WriteCount();

    mixer->ChangeOutside(out.id, 0, 65535 * 8 / 10);
    mixer->ChangeOutside(out.id, 1, 65535 * 8 / 10);
    DllAudioSystemInstance().PollMixer();  // as the mixer's descriptor watch does
    EXPECT_EQ(output.GetValue(), 80);
    EXPECT_EQ(mixer->WriteCount(), writes);  // following the mixer writes nothing back
}

TEST_F(MetronomeScreenTest, TheTunerButtonStopsTheMetronomeAndLeadsThereAndBack) {
    Open();
    Pym::ScreenManager& screens = window->Host()->Screens();
    Pym::GuiObject* metronomeScreen = screens.Shown();
    Key(' ');
    ASSERT_TRUE(Playing());
    Click(Widget("TunerButton"));
    Pym::GuiObject* tunerScreen = screens.Shown();
    ASSERT_NE(tunerScreen, metronomeScreen);
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(Widget<Pym::ToggleButton>("Play").IsDown());

    auto* back = Find(tunerScreen, "TunerLayout->MetronomeButton");
    ASSERT_NE(back, nullptr);
    Click(*back);
    EXPECT_EQ(screens.Shown(), metronomeScreen);
    EXPECT_EQ(layout->GetParent(), metronomeScreen);  // still where it was

    // The tuner screen's own close button closes the main window.
    Click(Widget("TunerButton"));
    Click(*Find(tunerScreen, "TunerLayout->Chrome->Close"));
    EXPECT_FALSE(window->IsVisible());
}

// The beat and bar display steps through its views and keeps the one chosen over a restart;
// a stored view that is none of them leaves the first.
TEST_F(MetronomeScreenTest, TheBeatDisplayRemembersItsViewAndIgnoresOnesItHasNot) {
    Open();
    auto* beats = &Widget<MetronomeVis>("MetronomeVis");
    EXPECT_EQ(beats->ViewCount(), 3);
    for (int click = 0; click < 3; ++click) Click(*beats);
    EXPECT_EQ(beats->CurrentIndex(), 0);
    Click(*beats);
    Close();
    Open();
    EXPECT_EQ(Widget<MetronomeVis>("MetronomeVis").CurrentIndex(), 1);
    Close();
    for (const char* stored : {"7", "-3", "text"}) {
        WriteProfileString("MetronomeVis", stored);
        Open();
        EXPECT_EQ(Widget<MetronomeVis>("MetronomeVis").CurrentIndex(), 0) << stored;
        Close();
    }
}

// Playing, the light flashes at the click and the dot of the beat heard is lit, where the
// screen shows it, at the smallest size, the usual one and twice it; stopped, the light is at
// its minimum and no dot is lit.
TEST_F(MetronomeScreenTest, TheBeatLightAndTheDotsShowTheBeatHeard) {
    MetronomeLayout& metronome = Open();
    auto& light = Widget<BeatLightVis>("BeatLightVis");
    auto& dots = Widget<BarDotsVis>("BarDots");
    ASSERT_NE(light.Slider(), nullptr);
    Pym::ObjectSlider& slider = *light.Slider();
    light.Redraw();
    EXPECT_EQ(slider.GetValue(), slider.GetMin());

    metronome.SetBpmFromText("120");
    Key(' ');
    ASSERT_TRUE(Playing());
    VirtualStream& out = *device->OutputStream();
    const double beat = BeatSeconds(120);
    for (int block = 0; block * 2048 < 5 * beat * 44100; ++block) {
        device->clockSeconds = 50.0 + block * 2048 / 44100.0;
        out.Clock(2048);
    }
    // The accented click (the fourth beat of the bar, the first dot) was heard a moment ago.
    device->clockSeconds = 50.0 + 3 * beat + 0.004;
    light.Redraw();
    dots.Redraw();
    EXPECT_GE(slider.GetValue(), slider.GetMax() - 1);
    EXPECT_EQ(dots.Lit(), 0);
    const std::pair<int, int> sizes[] = {{360, 240}, {720, 480}, {1440, 960}};
    for (auto [w, h] : sizes) {
        window->Resize(w, h);
        window->Relayout();
        host.Pump();
        // Half way through the next beat, the second dot.
        device->clockSeconds = 50.0 + 4.5 * beat;
        dots.Redraw();
        EXPECT_EQ(dots.Lit(), 1);
        auto canvas = Render("metronome-playing-" + std::to_string(w));
        const auto lit = BarDotsVis::DotRect(1, 4, dots.GetAbsoluteX(), dots.GetAbsoluteY(),
                                             dots.GetWidth(), dots.GetHeight());
        EXPECT_EQ(canvas->At(static_cast<int>(lit.x + lit.width / 2),
                             static_cast<int>(lit.y + lit.height / 2)) &
                      0xFFFFFF,
                  0xE8EAF0u)
            << w;
    }
    Key(' ');
    light.Redraw();
    dots.Redraw();
    EXPECT_EQ(slider.GetValue(), slider.GetMin());
    EXPECT_EQ(dots.Lit(), -1);
}

TEST_F(MetronomeScreenTest, TheScreenLooksFinishedAtItsSizeAndTwiceIt) {
    Open();
    auto canvas = Render("metronome");
    // The big tempo digits are drawn in the text colour in the middle of the screen.
    auto& bpm = Widget("DesiredBpm");
    int light = 0;
    for (int x = bpm.GetAbsoluteX(); x < bpm.GetAbsoluteX() + bpm.GetWidth(); ++x)
        for (int y = bpm.GetAbsoluteY(); y < bpm.GetAbsoluteY() + bpm.GetHeight(); ++y)
            light += (canvas->At(x, y) & 0xFFFFFF) == 0xE8EAF0;
    EXPECT_GT(light, 1000);
    auto& play = Widget("Play");
    EXPECT_EQ(canvas->At(play.GetAbsoluteX() + play.GetWidth() / 2 + 5,
                         play.GetAbsoluteY() + play.GetHeight() / 2) &
                  0xFFFFFF,
              0xFF8A3Du);  // the play mark in the accent

    window->Resize(1440, 960);
    window->Relayout();
    host.Pump();
    auto large = Render("metronome-2x");
    EXPECT_GT(bpm.GetHeight(), 200);
    int largeLight = 0;
    for (int x = bpm.GetAbsoluteX(); x < bpm.GetAbsoluteX() + bpm.GetWidth(); ++x)
        for (int y = bpm.GetAbsoluteY(); y < bpm.GetAbsoluteY() + bpm.GetHeight(); ++y)
            largeLight += (large->At(x, y) & 0xFFFFFF) == 0xE8EAF0;
    EXPECT_GT(largeLight, 3 * light);  // the digits grew with the window
}

}  // namespace
