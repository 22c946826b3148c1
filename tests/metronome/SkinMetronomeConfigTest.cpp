// The default skin's metronome configuration, included the way the metronome screen includes
// it, with its sound files laid out as in the skin folder.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "audio/AudioFile.h"
#include "metronome/MetronomeConfig.h"
#include "tests/support/SkinFixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;

class SkinMetronomeConfigTest : public Testing::SkinFixture {
protected:
    void SetUp() override {
        SkinFixture::SetUp();
        const fs::path skin = fs::path(ONDREL_SOURCE_DIR) / "skin";
        Write("XML/Metronome/MetronomeConfig.xml",
              Testing::ReadFile(skin / "XML/Metronome/MetronomeConfig.xml"));
        fs::copy(skin / "sounds", dir.Path() / "sounds", fs::copy_options::recursive);
        Write("XML/Metronome.xml",
              "<MetronomeLayout><Config BaseXML=\"XML/Metronome/MetronomeConfig.xml\"/>"
              "</MetronomeLayout>");
        config = std::make_unique<MetronomeConfig>(
            loader.GetChildElement(loader.GetRootElement("XML/Metronome.xml"), "Config"));
    }

    // A click as the bar builder gets it: decoded at the playback rate, at most a second.
    static std::vector<float> Click(const std::string& path) {
        std::vector<float> samples;
        EXPECT_GT(LoadAudioFile(path, samples, 1000.0f, kRate), 0) << path;
        return samples;
    }

    Pym::XMLLoadSave loader;
    std::unique_ptr<MetronomeConfig> config;
};

TEST_F(SkinMetronomeConfigTest, StoresHoldTheSoundsPresetsAndAccentsInMenuOrder) {
    const std::vector<std::string> sounds = config->audioSamples.Names();
    ASSERT_GE(sounds.size(), 4u);
    // The first entry is what a fresh start plays.
    EXPECT_EQ(sounds[0], "TONE");
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "SAMPLE"), sounds.end());
    EXPECT_EQ(std::set<std::string>(sounds.begin(), sounds.end()).size(), sounds.size());
    AudioEntry entry;
    EXPECT_TRUE(config->FindSample("Wood Block", entry));
    EXPECT_TRUE(config->FindSample("Cowbell", entry));

    EXPECT_EQ(config->presetStore.Names(),
              (std::vector<std::string>{"Largo", "Larghetto", "Adagio", "Andante", "Moderato",
                                        "Allegro", "Vivace", "Presto", "Prestissimo"}));
    int previous = 0;
    for (const auto& [name, bpm] : config->presetStore) {
        EXPECT_GT(bpm, previous) << name << ": presets run from slow to fast";
        EXPECT_GE(bpm, 10) << name;
        EXPECT_LE(bpm, 5000) << name;
        previous = bpm;
    }
    // A fresh start's tempo has a name.
    EXPECT_EQ(config->PresetName(114), "Moderato");

    ASSERT_EQ(config->accentStore.size(), 12u);
    for (int beats = 1; beats <= 12; ++beats) {
        const std::string name = "ACCENT: " + std::to_string(beats);
        EXPECT_EQ(config->accentStore.Entries()[beats - 1].first, name);
        EXPECT_EQ(config->AccentValue(name), beats);
    }
    EXPECT_EQ(config->AccentValue("ACCENT: 4"), 4);
    EXPECT_EQ(config->AccentName(4), "ACCENT: 4");
}

TEST_F(SkinMetronomeConfigTest, EverySoundLoadsAsAShortCleanClickStartingAtOnce) {
    for (const AudioEntry& entry : config->audioSamples.Entries()) {
        SCOPED_TRACE(entry.name);
        const std::vector<float> normal = Click(entry.normalFile);
        const std::vector<float> accent = Click(entry.accentFile);
        EXPECT_NE(normal, accent) << "the accent must sound different";
        for (const std::vector<float>& click : {normal, accent}) {
            ASSERT_FALSE(click.empty());
            // 30 to 120 ms: the clicks fit in half a beat up to 250 BPM.
            EXPECT_GE(click.size(), 30u * kRate / 1000);
            EXPECT_LE(click.size(), 120u * kRate / 1000);
            float peak = 0.0f;
            for (float x : click) peak = std::max(peak, std::abs(x));
            EXPECT_GT(peak, 0.5f) << "too quiet";
            EXPECT_LT(peak, 0.9f) << "no headroom";
            // The beat is where the file starts: loud within the first millisecond.
            const auto onset = std::find_if(click.begin(), click.end(),
                                            [peak](float x) { return std::abs(x) > 0.1f * peak; });
            EXPECT_LT(onset - click.begin(), kRate / 1000);
            // Faded out: a cut at the end of the file does not click.
            EXPECT_LT(std::abs(click.back()), 0.001f);
            EXPECT_LT(std::abs(click[click.size() - 10]), 0.01f * peak);
        }
    }
}

}  // namespace
