#include "settings/OctaveLookup.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "settings/AppSettings.h"

namespace {

// Equal-tempered names and frequencies from C2 upwards, `count` notes.
std::vector<std::pair<std::string, float>> Chromatic(int count) {
    static const char* names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    std::vector<std::pair<std::string, float>> notes;
    for (int i = 0; i < count; ++i) {
        int midi = 36 + i;
        float frequency = 440.0f * std::pow(2.0f, (midi - 69) / 12.0f);
        notes.emplace_back(std::string(names[midi % 12]) + std::to_string(midi / 12 - 1),
                           frequency);
    }
    return notes;
}

TEST(OctaveLookupTest, FillSortsAndNearestFindsTheClosestNote) {
    auto notes = Chromatic(36);
    std::reverse(notes.begin(), notes.end());  // listed out of order
    OctaveLookup lookup;
    lookup.Fill(notes);
    ASSERT_EQ(lookup.Entries().size(), 36u);
    EXPECT_EQ(lookup.Entries().front().name, "C2");
    EXPECT_EQ(lookup.Entries().back().name, "B4");

    int octave = -1;
    EXPECT_EQ(lookup.Nearest(441.0f, &octave)->name, "A4");
    EXPECT_EQ(octave, 2);
    EXPECT_EQ(lookup.Nearest(1.0f)->name, "C2");
    EXPECT_EQ(lookup.Nearest(20000.0f)->name, "B4");
    EXPECT_EQ(lookup.Nearest(std::numeric_limits<float>::infinity())->name, "C2");
    EXPECT_EQ(lookup.Nearest(std::nanf("")), nullptr);
}

TEST(OctaveLookupTest, HalfwayBetweenTwoNotesGivesTheLowerOne) {
    OctaveLookup lookup;
    lookup.Fill({{"A4", 440.0f}, {"A#4", 466.0f}});
    EXPECT_EQ(lookup.Nearest(453.0f)->name, "A4");
    EXPECT_EQ(lookup.Nearest(453.01f)->name, "A#4");
}

TEST(OctaveLookupTest, NeighboursStopAtTheEnds) {
    OctaveLookup lookup;
    lookup.Fill(Chromatic(12));
    const OctaveEntry& first = lookup.Entries().front();
    const OctaveEntry& last = lookup.Entries().back();
    EXPECT_EQ(lookup.Next(first).name, "C#2");
    EXPECT_EQ(&lookup.Previous(first), &first);
    EXPECT_EQ(lookup.Previous(last).name, "A#2");
    EXPECT_EQ(&lookup.Next(last), &last);
    OctaveEntry stranger{"X", "", 1234.5f};
    EXPECT_EQ(&lookup.Next(stranger), &stranger);
}

TEST(OctaveLookupTest, LettersKeepOnlyNoteLettersAndSharps) {
    EXPECT_EQ(OctaveLookup::LettersOf("A#4"), "A#");
    EXPECT_EQ(OctaveLookup::LettersOf("D#3"), "D#");
    EXPECT_EQ(OctaveLookup::LettersOf("Eb4"), "E");
    EXPECT_EQ(OctaveLookup::LettersOf("low e"), "");
}

TEST(OctaveLookupTest, SettingsNameFrequenciesThroughTheLookup) {
    AppSettings settings;
    EXPECT_EQ(settings.NoteName(440.0f), "");
    EXPECT_FLOAT_EQ(settings.NextFrequency(440.0f), 440.0f);
    settings.octaveLookup.Fill(Chromatic(36));
    EXPECT_EQ(settings.NoteName(445.0f), "A4");
    EXPECT_EQ(settings.NoteLetters(470.0f), "A#");
    EXPECT_NEAR(settings.NextFrequency(445.0f), 466.16f, 0.01f);
    EXPECT_NEAR(settings.PreviousFrequency(445.0f), 415.30f, 0.01f);
}

}  // namespace
