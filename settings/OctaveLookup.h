#pragma once

#include <string>
#include <utility>
#include <vector>

// The tuner's note lookup, held by the settings record: every configured note, sorted by
// frequency and grouped in octaves of twelve, so a measured frequency finds its note name.
struct OctaveEntry {
    std::string name;     // "A#4"
    std::string letters;  // "A#": the name's characters 'A' to 'G' and '#'
    float frequency = 0.0f;
};

class OctaveLookup {
public:
    // Rebuilds the lookup from (name, frequency) pairs in any order.
    void Fill(std::vector<std::pair<std::string, float>> notes);

    // The entry nearest to `frequency`, null when the lookup is empty or the frequency is not a
    // number. `octave` receives the entry's group of twelve.
    const OctaveEntry* Nearest(float frequency, int* octave = nullptr) const;

    // The neighbours of the first entry with exactly the entry's frequency; the argument itself
    // at either end or without a match.
    const OctaveEntry& Previous(const OctaveEntry& entry) const;
    const OctaveEntry& Next(const OctaveEntry& entry) const;

    const std::vector<OctaveEntry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

    static std::string LettersOf(const std::string& name);

private:
    std::ptrdiff_t IndexOf(const OctaveEntry& entry) const;

    std::vector<OctaveEntry> entries_;
};
