#include "settings/OctaveLookup.h"

#include <algorithm>
#include <cmath>
#include <limits>

void OctaveLookup::Fill(std::vector<std::pair<std::string, float>> notes) {
    std::stable_sort(notes.begin(), notes.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    entries_.clear();
    entries_.reserve(notes.size());
    for (auto& [name, frequency] : notes)
        entries_.push_back(OctaveEntry{name, LettersOf(name), frequency});
}

const OctaveEntry* OctaveLookup::Nearest(float frequency, int* octave) const {
    if (entries_.empty() || std::isnan(frequency)) return nullptr;
    // The walk stops at the first entry that is not closer, which the ascending order makes
    // the nearest. It starts from an infinite distance so that any frequency finds a note.
    float best = std::numeric_limits<float>::infinity();
    std::size_t nearest = entries_.size() - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        float distance = std::fabs(entries_[i].frequency - frequency);
        if (!(distance < best)) {
            nearest = i == 0 ? 0 : i - 1;
            break;
        }
        best = distance;
    }
    if (octave) *octave = static_cast<int>(nearest / 12);
    return &entries_[nearest];
}

std::ptrdiff_t OctaveLookup::IndexOf(const OctaveEntry& entry) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].frequency == entry.frequency) return static_cast<std::ptrdiff_t>(i);
    return -1;
}

const OctaveEntry& OctaveLookup::Previous(const OctaveEntry& entry) const {
    std::ptrdiff_t index = IndexOf(entry);
    return index > 0 ? entries_[index - 1] : entry;
}

const OctaveEntry& OctaveLookup::Next(const OctaveEntry& entry) const {
    std::ptrdiff_t index = IndexOf(entry);
    return index >= 0 && index + 1 < static_cast<std::ptrdiff_t>(entries_.size())
               ? entries_[index + 1]
               : entry;
}

std::string OctaveLookup::LettersOf(const std::string& name) {
    std::string letters;
    for (char c : name)
        if ((c >= 'A' && c <= 'G') || c == '#') letters += c;
    return letters;
}
