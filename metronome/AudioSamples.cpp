#include "metronome/AudioSamples.h"

AudioEntry::AudioEntry(const TiXmlElement* element) {
    ReadAttribute(name, element, "Name", true);
    ReadAttribute(normalFile, element, "Normal", true);
    ReadAttribute(accentFile, element, "Accent", true);
}

AudioSamples::AudioSamples(TiXmlElement* element) {
    for (TiXmlElement* sample : GetChildElements(element, "Sample"))
        entries_.push_back(AudioEntry(sample));
}

bool AudioSamples::FindSample(const std::string& name, AudioEntry& entry) const {
    for (const AudioEntry& candidate : entries_) {
        if (candidate.name == name) {
            entry = candidate;
            return true;
        }
    }
    return false;
}

std::vector<std::string> AudioSamples::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const AudioEntry& entry : entries_) names.push_back(entry.name);
    return names;
}
