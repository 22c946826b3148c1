#include <gtest/gtest.h>

#include "metronome/MetronomeChoices.h"
#include "metronome/MetronomeConfig.h"
#include "platform/ProfileStore.h"
#include "pym/core/XMLLoadSave.h"
#include "settings/AppSettings.h"
#include "settings/MetronomeProfile.h"
#include "tests/support/SkinFixture.h"
#include "tests/support/TempDir.h"

namespace {

TEST(AppSettingsTest, StartsWithTheDocumentedValues) {
    AppSettings& settings = DllAppSettingsInstance();
    EXPECT_EQ(&settings, &DllAppSettingsInstance());
    EXPECT_EQ(settings.version, "4.0.810");
    EXPECT_EQ(settings.SpectrumTopFrequency(), 2700);
    EXPECT_EQ(settings.transposeShift, 0);
    EXPECT_EQ(settings.levelThreshold, 5);
    EXPECT_EQ(settings.levelFloor, 20);
    EXPECT_EQ(settings.levelSpan, 100);
    EXPECT_FLOAT_EQ(settings.readOutInterval, 0.05f);
    EXPECT_FLOAT_EQ(settings.titleInterval, 0.25f);
    EXPECT_FLOAT_EQ(settings.displayRefreshInterval, 0.05f);
    EXPECT_TRUE(settings.octaveLookup.Empty());
}

TEST(AppSettingsTest, TopFrequencyTellsTheTunerHookItsBinCount) {
    AppSettings settings;
    EXPECT_EQ(AppSettings::SpectrumBinCount(2700), 502);
    settings.SetSpectrumTopFrequency(1000);  // no hook yet: nothing to call
    int bins = -1;
    settings.tunerCallback = [&bins](int count) { bins = count; };
    settings.SetSpectrumTopFrequency(2700);
    EXPECT_EQ(bins, 502);
    settings.SetSpectrumTopFrequency(1370);
    EXPECT_EQ(bins, 254);
    EXPECT_EQ(settings.SpectrumTopFrequency(), 1370);
}

class MetronomeConfigTest : public Testing::SkinFixture {
protected:
    TiXmlElement* LoadConfig(const std::string& inner) {
        Write("XML/Metronome.xml",
              "<MetronomeLayout><Config>" + inner + "</Config></MetronomeLayout>");
        TiXmlElement* root = loader.GetRootElement("XML/Metronome.xml");
        return loader.GetChildElement(root, "Config");
    }
    Pym::XMLLoadSave loader;
};

const char* kSamples =
    "<AudioSamples>"
    "  <Sample Name=\"TONE\" Normal=\"\" Accent=\"\"/>"
    "  <!-- the wooden one -->"
    "  <Sample Name=\"Wood\" Normal=\"sounds/wood.wav\" Accent=\"sounds/wood-accent.wav\"/>"
    "  <Sample Name=\"Wood\" Normal=\"second.wav\" Accent=\"second.wav\"/>"
    "</AudioSamples>";

TEST_F(MetronomeConfigTest, StoresKeepDocumentOrderAndAnswerWithTheFirstMatch) {
    MetronomeConfig config(LoadConfig(std::string(kSamples) +
                                      "<PresetStore><Data Name=\"Largo\" Value=\"50\"/>"
                                      "<Data Name=\"Andante\" Value=\"90\"/>"
                                      "<Data Name=\"Walking\" Value=\"90\"/></PresetStore>"
                                      "<AccentStore><Data Name=\"ACCENT: 4\" Value=\"4\"/>"
                                      "<Data Name=\"ACCENT: 3\" Value=\"3\"/></AccentStore>"));
    EXPECT_EQ(config.PresetName(90), "Andante");
    EXPECT_EQ(config.PresetName(114), "");
    EXPECT_EQ(config.PresetValue("Largo"), 50);
    EXPECT_EQ(config.PresetValue("Presto"), 0);
    EXPECT_EQ(config.AccentValue("ACCENT: 3"), 3);
    EXPECT_EQ(config.AccentValue("ACCENT: 7"), 0);
    EXPECT_EQ(config.AccentName(4), "ACCENT: 4");
    EXPECT_EQ(config.presetStore.Names(),
              (std::vector<std::string>{"Largo", "Andante", "Walking"}));

    EXPECT_EQ(config.audioSamples.Names(), (std::vector<std::string>{"TONE", "Wood", "Wood"}));
    AudioEntry entry;
    ASSERT_TRUE(config.FindSample("Wood", entry));
    EXPECT_EQ(entry.normalFile, "sounds/wood.wav");
    EXPECT_EQ(entry.accentFile, "sounds/wood-accent.wav");
    EXPECT_FALSE(config.FindSample("Cowbell", entry));
    EXPECT_EQ(entry.name, "Wood");
}

TEST_F(MetronomeConfigTest, EmptySectionsGiveEmptyStores) {
    MetronomeConfig config(LoadConfig("<AudioSamples/><PresetStore/><AccentStore/>"));
    EXPECT_TRUE(config.audioSamples.Entries().empty());
    EXPECT_EQ(config.presetStore.size(), 0u);
}

TEST_F(MetronomeConfigTest, MissingSectionsOrAttributesThrow) {
    const std::string stores = "<PresetStore/><AccentStore/>";
    EXPECT_THROW(MetronomeConfig(LoadConfig(stores)), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Element = Config Attribute = AudioSamples"));
    EXPECT_THROW(MetronomeConfig(LoadConfig("<AudioSamples/><AccentStore/>")),
                 Pym::XMLLoadSaveException);
    EXPECT_THROW(MetronomeConfig(LoadConfig("<AudioSamples><Sample Name=\"x\" Normal=\"a\"/>"
                                            "</AudioSamples>" +
                                            stores)),
                 Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Element = Sample Attribute = Accent"));
    EXPECT_THROW(MetronomeConfig(LoadConfig("<AudioSamples/><PresetStore><Data Name=\"x\"/>"
                                            "</PresetStore><AccentStore/>")),
                 Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Element = Data Attribute = Value"));
}

TEST_F(MetronomeConfigTest, StoresOfOtherNumberTypes) {
    TiXmlElement* config = LoadConfig(
        "<InputStore><Data Name=\"MIC\" Value=\"4099\"/></InputStore>"
        "<PerceivedHearing><Data Name=\"A\" Value=\"0.75\"/></PerceivedHearing>");
    SimpleStore<long> input(loader.GetChildElement(config, "InputStore"));
    SimpleStore<float> hearing(loader.GetChildElement(config, "PerceivedHearing"));
    EXPECT_EQ(input.ValueOf("MIC"), 4099);
    EXPECT_FLOAT_EQ(hearing.ValueOf("A"), 0.75f);
    EXPECT_FALSE(hearing.IsLoading());
}

class MetronomeProfileTest : public ::testing::Test {
protected:
    void SetUp() override { Platform::Profile().SetRegistryKey("Ondrel Metronome Test"); }
    void TearDown() override { Platform::Profile().SetRegistryKey(""); }
};

TEST_F(MetronomeProfileTest, ValuesRoundTripAndBadNumbersReadAsDefault) {
    EXPECT_EQ(MetronomeProfileSection(), "Metronome Settings");
    EXPECT_EQ(ReadProfileInt("Bpm", 114), 114);
    ASSERT_TRUE(WriteProfileInt("Bpm", 120));
    EXPECT_EQ(ReadProfileInt("Bpm", 114), 120);
    ASSERT_TRUE(WriteProfileString("Bpm", "abc"));
    EXPECT_EQ(ReadProfileInt("Bpm", 114), 114);
    ASSERT_TRUE(WriteProfileString("Bpm", "12.5"));
    EXPECT_EQ(ReadProfileInt("Bpm", 114), 114);
    ASSERT_TRUE(WriteProfileString("Accent", "ACCENT: 3"));
    EXPECT_EQ(ReadProfileString("Accent", "ACCENT: 4"), "ACCENT: 3");
    EXPECT_EQ(ReadProfileString("Output", ""), "");
    EXPECT_EQ(ReadProfileInt("MetronomeVis", -1), -1);
    EXPECT_EQ(Platform::Profile().GetProfileString("Metronome Settings", "Accent", ""),
              "ACCENT: 3");
}

// A hand-edited tempo beyond what the tempo box accepts reads as the nearest one it does.
TEST_F(MetronomeProfileTest, SavedTemposOutOfRangeReadAsTheNearestPlayableOne) {
    const std::pair<const char*, int> saved[] = {
        {"-5", MetronomeChoices::kSlowestBpm},     {"0", MetronomeChoices::kSlowestBpm},
        {"100000", MetronomeChoices::kFastestBpm}, {"2147483647", MetronomeChoices::kFastestBpm},
        {"5000", MetronomeChoices::kFastestBpm},   {"10", MetronomeChoices::kSlowestBpm}};
    for (const auto& [text, bpm] : saved) {
        ASSERT_TRUE(WriteProfileString("Bpm", text));
        EXPECT_EQ(MetronomeChoices::Read().bpm, bpm) << text;
    }
}

// Settings the user thinks are kept and are not: said on standard error, once per save.
TEST_F(MetronomeProfileTest, AFailedSaveIsToldOnStandardError) {
    const std::filesystem::path configHome = Platform::ProfileStore::DefaultConfigHome();
    Testing::TempDir scratch;
    Platform::Profile().SetConfigHome(scratch.Write("a-file", "not a folder"));
    testing::internal::CaptureStderr();
    MetronomeChoices().Write();
    const std::string errors = testing::internal::GetCapturedStderr();
    Platform::Profile().SetConfigHome(configHome);
    EXPECT_NE(
        errors.find("cannot save the settings (Bpm, Output, Accent, Subdivision, TrainerOn, "),
        std::string::npos)
        << errors;
    EXPECT_EQ(errors.find("cannot save", errors.find('\n')), std::string::npos) << errors;
}

}  // namespace
