#include "tuner/TuneConfig.h"

#include <cmath>
#include <set>

#include <gtest/gtest.h>

#include "settings/AppSettings.h"
#include "settings/OctaveLookup.h"
#include "tests/support/SkinFixture.h"

namespace {

class TuneConfigTest : public Testing::SkinFixture {
protected:
    // A tuner screen whose "Config" is `inner`.
    TiXmlElement* LoadConfig(const std::string& inner) {
        Write("XML/Tuner.xml", "<TunerLayout><Config>" + inner + "</Config></TunerLayout>");
        return loader.GetChildElement(loader.GetRootElement("XML/Tuner.xml"), "Config");
    }
    static std::string Stores(const std::string& notes, const std::string& instruments = "",
                              const std::string& transpositions = "") {
        return "<InstrumentStore>" + instruments + "</InstrumentStore><NoteStore>" + notes +
               "</NoteStore><TransposeStore>" + transpositions +
               "</TransposeStore><InputStore/><PerceivedHearing/>";
    }
    // Twelve-tone names and frequencies from C2 to B3, listed in a shuffled order.
    static std::string ChromaticNotes() {
        static const char* letters[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                        "F#", "G",  "G#", "A",  "A#", "B"};
        std::string xml;
        for (int i : {13, 0,  23, 5,  1,  2,  3,  4,  6,  7,  8,  9,
                      10, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21, 22}) {
            double f = 440.0 * std::pow(2.0, (i + 24 - 57) / 12.0);
            xml += "<Note Name=\"" + std::string(letters[i % 12]) + std::to_string(2 + i / 12) +
                   "\" Frequency=\"" + std::to_string(f) + "\"/>";
        }
        return xml;
    }
    struct Built {
        std::vector<std::pair<std::string, float>> added;
        Style::AddNote Add() {
            return [this](const std::string& label, float f) { added.emplace_back(label, f); };
        }
    };

    Pym::XMLLoadSave loader;
};

TEST_F(TuneConfigTest, RecordsKeepDocumentOrderAndLookUpByName) {
    TuneConfig config(LoadConfig(
        Stores("<Note Name=\"A4\" Frequency=\"440\"/><!-- tuned --><Note Name=\"E2\" "
               "Frequency=\"82.41\"/>",
               "<Instrument Name=\"Guitar\"><Style Name=\"Standard\"><Note Name=\"E2\"/>"
               "<Note Name=\"A4\" Frequency=\"1\"/></Style><Style Name=\"Drop D\"/></Instrument>"
               "<Instrument><Style Name=\"x\"/></Instrument>",
               "<Transpose Name=\"C\" Shift=\"0\"/><Transpose Name=\"Bb\" Shift=\"-2\"/>"
               "<Transpose Name=\"Bb\" Shift=\"5\"/>")));
    ASSERT_EQ(config.noteStore.Notes().size(), 2u);
    EXPECT_EQ(config.noteStore.Notes()[1].name, "E2");
    ASSERT_NE(config.noteStore.Find("E2"), nullptr);
    EXPECT_FLOAT_EQ(config.noteStore.Find("E2")->frequency, 82.41f);
    EXPECT_EQ(config.noteStore.Find("E3"), nullptr);

    EXPECT_EQ(config.instrumentStore.Names(), (std::vector<std::string>{"Guitar", ""}));
    Instrument* guitar = config.instrumentStore.Find("Guitar");
    ASSERT_NE(guitar, nullptr);
    EXPECT_EQ(guitar->StyleNames(), (std::vector<std::string>{"Standard", "Drop D"}));
    ASSERT_NE(guitar->FindStyle("Standard"), nullptr);
    EXPECT_EQ(guitar->FindStyle("Standard")->Notes()[0].frequency, 0.0f);  // optional in a style
    EXPECT_EQ(guitar->FindStyle("Open G"), nullptr);
    EXPECT_EQ(config.instrumentStore.Find("Banjo"), nullptr);

    EXPECT_EQ(config.transposeStore.ShiftOf("Bb"), -2);
    EXPECT_EQ(config.transposeStore.ShiftOf("F"), 0);
    EXPECT_EQ(config.transposeStore.Names(), (std::vector<std::string>{"C", "Bb", "Bb"}));
}

TEST_F(TuneConfigTest, MissingElementsAndRequiredAttributesThrow) {
    const std::string tail = "<TransposeStore/><InputStore/><PerceivedHearing/>";
    EXPECT_THROW(TuneConfig(LoadConfig("<InstrumentStore/>" + tail)), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Element = Config Attribute = NoteStore"));
    EXPECT_THROW(TuneConfig(LoadConfig("<InstrumentStore/><NoteStore/><TransposeStore/>"
                                       "<InputStore/>")),
                 Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Attribute = PerceivedHearing"));
    EXPECT_THROW(TuneConfig(LoadConfig(Stores("<Note Name=\"A4\"/>"))), Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Element = Note Attribute = Frequency"));
    EXPECT_THROW(TuneConfig(LoadConfig(Stores("", "<Instrument Name=\"G\"><Style/></Instrument>"))),
                 Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Element = Style Attribute = Name"));
    EXPECT_THROW(TuneConfig(LoadConfig(Stores("", "", "<Transpose Name=\"Bb\"/>"))),
                 Pym::XMLLoadSaveException);
    EXPECT_TRUE(TracedContaining("Element = Transpose Attribute = Shift"));
}

TEST_F(TuneConfigTest, BuildNotesNamesAndTransposesAStyle) {
    TuneConfig config(LoadConfig(Stores(
        ChromaticNotes(),
        "<Instrument Name=\"Guitar\"><Style Name=\"Test\"><Note Name=\"E2\"/><Note Name=\"C#3\"/>"
        "<Note Name=\"Zz9\"/><Note Name=\"B3\"/><Note Name=\"C2\"/></Style></Instrument>")));
    OctaveLookup lookup;
    config.FillLookup(lookup);
    ASSERT_EQ(lookup.Entries().size(), 24u);
    EXPECT_EQ(lookup.Entries().front().name, "C2");  // sorted although listed out of order
    Style& style = config.instrumentStore.Instruments()[0].Styles()[0];

    Built plain;
    style.BuildNotes(0, config.noteStore, lookup, plain.Add(), false);
    ASSERT_EQ(plain.added.size(), 5u);
    EXPECT_EQ(plain.added[0].first, "E2");
    EXPECT_NEAR(plain.added[0].second, 82.41f, 0.01f);
    EXPECT_EQ(plain.added[2], (std::pair<std::string, float>{"Zz9", 0.0f}));  // not in the store
    EXPECT_NEAR(style.HighestFrequency(), 246.94f, 0.01f);
    EXPECT_EQ(style.Targets().size(), 5u);

    Built letters;
    style.BuildNotes(0, config.noteStore, lookup, letters.Add(), true);
    EXPECT_EQ(letters.added[1].first, "C#");
    EXPECT_EQ(letters.added[2].first, "");  // "Zz9" has none of the letters A to G

    Built up;
    style.BuildNotes(2, config.noteStore, lookup, up.Add(), false);
    EXPECT_EQ(up.added[0].first, "F#2");
    EXPECT_NEAR(up.added[0].second, 92.50f, 0.01f);
    EXPECT_EQ(up.added[1].first, "D#3");
    EXPECT_EQ(up.added[3].first, "B3");  // the last note stays the last
    EXPECT_NEAR(style.HighestFrequency(), 246.94f, 0.01f);

    Built down;
    style.BuildNotes(-3, config.noteStore, lookup, down.Add(), true);
    EXPECT_EQ(down.added[0].first, "C#");
    EXPECT_NEAR(down.added[0].second, 69.30f, 0.01f);
    EXPECT_EQ(down.added[4].first, "C");  // the first note stays the first
    EXPECT_NEAR(down.added[4].second, 65.41f, 0.01f);

    // The screen's form goes through the process's lookup.
    OctaveLookup& process = DllAppSettingsInstance().octaveLookup;
    config.FillLookup(process);
    Built viaSettings;
    style.BuildNotes(2, config.noteStore, viaSettings.Add(), false);
    EXPECT_EQ(viaSettings.added, up.added);
    process.Fill({});
}

// The skin's own configuration, included the way the tuner screen includes it.
class SkinTunerConfigTest : public TuneConfigTest {
protected:
    void SetUp() override {
        TuneConfigTest::SetUp();
        Write("XML/Tuner/TunerConfig.xml",
              Testing::ReadFile(ONDREL_SOURCE_DIR "/skin/XML/Tuner/TunerConfig.xml"));
        Write("XML/Tuner.xml",
              "<TunerLayout><Config BaseXML=\"XML/Tuner/TunerConfig.xml\"/></TunerLayout>");
        config = std::make_unique<TuneConfig>(
            loader.GetChildElement(loader.GetRootElement("XML/Tuner.xml"), "Config"));
    }
    std::unique_ptr<TuneConfig> config;
};

TEST_F(SkinTunerConfigTest, NotesAreEqualTemperedFromC0ToB8) {
    const std::vector<Note>& notes = config->noteStore.Notes();
    ASSERT_EQ(notes.size(), 108u);
    EXPECT_EQ(notes.front().name, "C0");
    EXPECT_EQ(notes.back().name, "B8");
    ASSERT_NE(config->noteStore.Find("A4"), nullptr);
    EXPECT_FLOAT_EQ(config->noteStore.Find("A4")->frequency, 440.0f);
    for (std::size_t i = 1; i < notes.size(); ++i)
        EXPECT_NEAR(notes[i].frequency / notes[i - 1].frequency, std::pow(2.0, 1.0 / 12.0), 1e-5)
            << notes[i].name;
    std::set<std::string> names;
    for (const Note& note : notes) names.insert(note.name);
    EXPECT_EQ(names.size(), notes.size());

    AppSettings settings;
    config->FillLookup(settings.octaveLookup);
    EXPECT_EQ(settings.NoteName(441.3f), "A4");
    EXPECT_EQ(settings.NoteLetters(277.0f), "C#");
    EXPECT_EQ(settings.NoteName(10.0f), "C0");
    EXPECT_EQ(settings.NoteName(9000.0f), "B8");
    EXPECT_NEAR(settings.NextFrequency(440.0f), 466.16f, 0.01f);
    EXPECT_NEAR(settings.PreviousFrequency(440.0f), 415.30f, 0.01f);
}

TEST_F(SkinTunerConfigTest, EveryInstrumentNoteIsAConfiguredNote) {
    for (const char* wanted :
         {"Guitar", "Bass", "Ukulele", "Violin", "Viola", "Cello", "Chromatic"})
        EXPECT_NE(config->instrumentStore.Find(wanted), nullptr) << wanted;
    EXPECT_EQ(config->instrumentStore.Find("Guitar")->StyleNames(),
              (std::vector<std::string>{"Standard", "Drop D", "DADGAD", "Open G", "Open D",
                                        "Half Step Down"}));
    EXPECT_EQ(config->instrumentStore.Find("Bass")->Styles().size(), 2u);
    ASSERT_EQ(config->instrumentStore.Find("Chromatic")->Styles().size(), 1u);
    EXPECT_EQ(config->instrumentStore.Find("Chromatic")->Styles()[0].Notes().size(), 108u);

    for (const Instrument& instrument : config->instrumentStore.Instruments()) {
        EXPECT_FALSE(instrument.Styles().empty()) << instrument.Name();
        for (const Style& style : instrument.Styles())
            for (const Note& note : style.Notes())
                EXPECT_NE(config->noteStore.Find(note.name), nullptr)
                    << instrument.Name() << " / " << style.Name() << ": " << note.name;
    }
    Instrument* guitar = config->instrumentStore.Find("Guitar");
    std::vector<std::string> standard;
    for (const Note& note : guitar->FindStyle("Standard")->Notes()) standard.push_back(note.name);
    EXPECT_EQ(standard, (std::vector<std::string>{"E2", "A2", "D3", "G3", "B3", "E4"}));

    EXPECT_EQ(config->transposeStore.Names(), (std::vector<std::string>{"C", "Bb", "Eb", "F"}));
    EXPECT_EQ(config->transposeStore.ShiftOf("C"), 0);
    EXPECT_EQ(config->transposeStore.ShiftOf("Bb"), -2);
    EXPECT_EQ(config->inputStore.ValueOf("Microphone"), 4099);
    EXPECT_EQ(config->inputStore.ValueOf("Line In"), 4098);
    EXPECT_FLOAT_EQ(config->perceivedHearing.ValueOf("1000"), 0.0f);
}

}  // namespace
