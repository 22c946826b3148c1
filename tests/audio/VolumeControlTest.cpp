#include <gtest/gtest.h>

#include <memory>

#include "audio/MemoryMixerBackend.h"
#include "audio/Rounding.h"
#include "audio/VolumeControl.h"

namespace {

constexpr long kFull = kMixerFullScale;

// A card scripted by each test; the control is built once the card is ready.
struct Card {
    std::unique_ptr<MemoryMixerBackend> owned = std::make_unique<MemoryMixerBackend>();
    MemoryMixerBackend& mixer = *owned;
    std::unique_ptr<VolumeControl> control;

    VolumeControl& Build() {
        control = std::make_unique<VolumeControl>(std::move(owned));
        return *control;
    }
};

TEST(VolumeControlTest, InputLineDiscovery) {
    {
        Card card;
        card.mixer.AddSource("Aux", kComponentUndefined);
        card.mixer.AddSource("Capture", kComponentUndefined);
        card.mixer.AddSource("Beta", kComponentUndefined);
        VolumeControl& control = card.Build();
        EXPECT_EQ(control.InputLineNames(), (std::vector<std::string>{"Aux", "Beta", "Capture"}));
        EXPECT_EQ(control.SelectedInputLine().name, "Aux");
    }
    {
        Card card;
        int mic = card.mixer.AddSource("Front Mic", kComponentMicrophone);
        int line = card.mixer.AddSource("Line", kComponentLine);
        card.mixer.AddSource("Aux", kComponentUndefined);
        VolumeControl& control = card.Build();
        EXPECT_EQ(control.InputLineNames(), (std::vector<std::string>{"LINE", "MIC"}));
        EXPECT_EQ(control.SelectedInputLine().id, line);
        EXPECT_EQ(card.mixer.SelectedSource(), line);
        EXPECT_EQ(control.InputLineForType(kComponentMicrophone), "MIC");
        EXPECT_EQ(control.InputLineForType(kComponentUndefined), "");
        EXPECT_TRUE(control.SelectInputLine("MIC"));
        EXPECT_EQ(card.mixer.SelectedSource(), mic);
        EXPECT_FALSE(control.SelectInputLine("Aux"));
        EXPECT_EQ(control.SelectedInputLine().id, mic);
    }
    {
        // The microphone type wins over a differently typed source named "Microphone".
        Card card;
        card.mixer.AddSource("Microphone", kComponentUndefined);
        int typed = card.mixer.AddSource("Rear", kComponentMicrophone);
        VolumeControl& control = card.Build();
        EXPECT_EQ(control.InputLineNames(), std::vector<std::string>{"MIC"});
        EXPECT_EQ(control.SelectedInputLine().id, typed);
    }
    {
        Card card;
        int byName = card.mixer.AddSource("Line In", kComponentUndefined);
        VolumeControl& control = card.Build();
        EXPECT_EQ(control.SelectedInputLine().id, byName);
        EXPECT_EQ(control.InputLineNames(), std::vector<std::string>{"LINE"});
    }
}

TEST(VolumeControlTest, OutputVolumeKeepsBalance) {
    Card card;
    int out = card.mixer.SetOutput("Master");
    VolumeControl& control = card.Build();
    card.mixer.ChangeOutside(out, 0, static_cast<long>(Nearest(0.6 * kFull)));
    card.mixer.ChangeOutside(out, 1, static_cast<long>(Nearest(0.3 * kFull)));
    EXPECT_NEAR(control.Playback().GetBalance(MixerLine{out, kComponentWaveOut, 2, "", ""}), 0.25,
                1e-4);
    EXPECT_EQ(control.GetOutputVolume(), 60);

    control.SetOutputVolume(80);
    EXPECT_NEAR(card.mixer.Channel(out, 0), 0.8 * kFull, 1);
    EXPECT_NEAR(card.mixer.Channel(out, 1), 0.4 * kFull, 1);
    EXPECT_EQ(control.GetOutputVolume(), 80);

    // At zero the balance cannot be read back from the channels; it is kept.
    control.SetOutputVolume(0);
    EXPECT_EQ(card.mixer.Channel(out, 0), 0);
    EXPECT_EQ(card.mixer.Channel(out, 1), 0);
    control.SetOutputVolume(50);
    EXPECT_NEAR(card.mixer.Channel(out, 0), 0.5 * kFull, 1);
    // The balance was read from rounded channel values: a few steps of slack.
    EXPECT_NEAR(card.mixer.Channel(out, 1), 0.25 * kFull, 3);

    int writes = card.mixer.WriteCount();
    control.SetOutputVolume(101);
    control.SetOutputVolume(-3);
    control.SetOutputVolume(50);  // unchanged: nothing written
    EXPECT_EQ(card.mixer.WriteCount(), writes);
    EXPECT_EQ(control.GetOutputVolume(), 50);
}

TEST(VolumeControlTest, InputVolumeAndGain) {
    Card card;
    int mic = card.mixer.AddSource("Mic", kComponentMicrophone, 1);
    VolumeControl& control = card.Build();
    control.SetInputVolume(30);
    EXPECT_NEAR(card.mixer.Channel(mic, 0), 0.3 * kFull, 1);
    EXPECT_EQ(control.GetInputVolume(), 30);
    control.SetInputVolume(101);
    EXPECT_EQ(control.GetInputVolume(), 30);
    EXPECT_EQ(control.InputGain(), 32768);
}

TEST(VolumeControlTest, MissingPartsChangeNothing) {
    {
        Card card;
        card.mixer.SetOutput("Master");
        card.mixer.AddSource("Mic", kComponentMicrophone);
        card.mixer.Close();
        VolumeControl& control = card.Build();
        EXPECT_EQ(control.GetOutputVolume(), 0);
        EXPECT_EQ(control.GetInputVolume(), -1);
        EXPECT_TRUE(control.InputLineNames().empty());
        control.SetOutputVolume(40);
        control.SetInputVolume(40);
        EXPECT_EQ(card.mixer.WriteCount(), 0);
        EXPECT_EQ(control.InputGain(), VolumeControl::kNominalInputGain);
        control.Poll();
    }
    {
        // Playback only, and its volume cannot be set.
        Card card;
        card.mixer.SetOutput("Master", 2, false);
        VolumeControl& control = card.Build();
        EXPECT_TRUE(control.InputLineNames().empty());
        EXPECT_EQ(control.GetOutputVolume(), 0);
        EXPECT_EQ(control.GetInputVolume(), -1);
        control.SetOutputVolume(40);
        EXPECT_EQ(card.mixer.WriteCount(), 0);
    }
    {
        // An input without a volume still records: the tuner keeps its nominal gain.
        Card card;
        card.mixer.AddSource("Mic", kComponentMicrophone, 2, false);
        VolumeControl& control = card.Build();
        EXPECT_EQ(control.InputLineNames(), std::vector<std::string>{"MIC"});
        EXPECT_EQ(control.GetInputVolume(), -1);
        control.SetInputVolume(40);
        EXPECT_EQ(card.mixer.WriteCount(), 0);
        EXPECT_EQ(control.InputGain(), VolumeControl::kNominalInputGain);
    }
    {
        // A mono output has no balance to keep.
        Card card;
        int out = card.mixer.SetOutput("Master", 1);
        VolumeControl& control = card.Build();
        control.SetOutputVolume(70);
        EXPECT_NEAR(card.mixer.Channel(out, 0), 0.7 * kFull, 1);
        EXPECT_EQ(control.GetOutputVolume(), 70);
    }
}

TEST(VolumeControlTest, NotificationsOnlyOnOutsideChange) {
    Card card;
    int out = card.mixer.SetOutput("Master");
    int mic = card.mixer.AddSource("Mic", kComponentMicrophone);
    int line = card.mixer.AddSource("Line", kComponentLine);
    VolumeControl& control = card.Build();
    int volumeCalls = 0;
    std::vector<double> sources;
    const int volumeListener = control.AddOutputVolumeListener([&] { ++volumeCalls; });
    control.AddInputSourceListener([&](double type) { sources.push_back(type); });

    control.Poll();
    control.SetOutputVolume(20);
    control.SetInputVolume(90);
    control.SelectInputLine("MIC");
    control.Poll();
    EXPECT_EQ(volumeCalls, 0);
    EXPECT_TRUE(sources.empty());

    card.mixer.ChangeOutside(out, 0, 40000);
    control.Poll();
    control.Poll();
    EXPECT_EQ(volumeCalls, 1);
    card.mixer.ChangeOutside(out, 0, 40000);  // same value again
    control.Poll();
    EXPECT_EQ(volumeCalls, 1);
    card.mixer.ChangeOutside(mic, 1, 60000);
    control.Poll();
    EXPECT_EQ(volumeCalls, 2);

    card.mixer.SelectOutside(line);
    control.Poll();
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0], kComponentLine);
    EXPECT_EQ(control.InputLineForType(static_cast<int>(sources[0])), "LINE");

    // A listener that has left hears nothing more; one removing itself while called is safe.
    control.RemoveOutputVolumeListener(volumeListener);
    int selfRemoving = 0;
    int id = 0;
    id = control.AddOutputVolumeListener([&] {
        ++selfRemoving;
        control.RemoveOutputVolumeListener(id);
    });
    card.mixer.ChangeOutside(out, 0, 10000);
    control.Poll();
    card.mixer.ChangeOutside(out, 0, 20000);
    control.Poll();
    EXPECT_EQ(volumeCalls, 2);
    EXPECT_EQ(selfRemoving, 1);
}

}  // namespace
