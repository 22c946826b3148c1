#include "metronome/MetronomeConfig.h"

MetronomeConfig::MetronomeConfig(TiXmlElement* config)
    : audioSamples(GetChildElement(config, "AudioSamples")),
      presetStore(GetChildElement(config, "PresetStore")),
      accentStore(GetChildElement(config, "AccentStore")) {}
