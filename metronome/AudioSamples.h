#pragma once

#include <string>
#include <vector>

#include "pym/core/XMLLoadSave.h"

// A named pair of click sound files from a "Sample" element.
class AudioEntry : public Pym::XMLLoadSave {
public:
    AudioEntry() = default;
    explicit AudioEntry(const TiXmlElement* element);

    std::string name;
    std::string normalFile;  // the unaccented click
    std::string accentFile;  // the bar's accented click
};

// The sample sets a skin offers, from the "Sample" children of "AudioSamples".
class AudioSamples : public Pym::XMLLoadSave {
public:
    AudioSamples() = default;
    explicit AudioSamples(TiXmlElement* element);

    // Copies the first entry with this name into `entry`.
    bool FindSample(const std::string& name, AudioEntry& entry) const;
    std::vector<std::string> Names() const;
    const std::vector<AudioEntry>& Entries() const { return entries_; }

private:
    std::vector<AudioEntry> entries_;
};
