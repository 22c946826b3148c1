#pragma once

#include <string>

#include "metronome/AudioSamples.h"
#include "settings/SimpleStore.h"

// The metronome screen's skin configuration: its "Config" element with the sample sets, the
// tempo presets and the accent patterns. All three children are required.
class MetronomeConfig : public Pym::XMLLoadSave {
public:
    explicit MetronomeConfig(TiXmlElement* config);

    std::string PresetName(int bpm) const { return presetStore.NameOf(bpm); }
    int PresetValue(const std::string& name) const { return presetStore.ValueOf(name); }
    std::string AccentName(int beats) const { return accentStore.NameOf(beats); }
    int AccentValue(const std::string& name) const { return accentStore.ValueOf(name); }
    bool FindSample(const std::string& name, AudioEntry& entry) const {
        return audioSamples.FindSample(name, entry);
    }

    AudioSamples audioSamples;
    SimpleStore<int> presetStore;  // preset name -> beats per minute
    SimpleStore<int> accentStore;  // accent name -> beats per bar
};
