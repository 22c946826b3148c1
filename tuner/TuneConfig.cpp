#include "tuner/TuneConfig.h"

#include "settings/OctaveLookup.h"

TuneConfig::TuneConfig(TiXmlElement* config)
    : instrumentStore(GetChildElement(config, "InstrumentStore")),
      noteStore(GetChildElement(config, "NoteStore")),
      transposeStore(GetChildElement(config, "TransposeStore")),
      inputStore(GetChildElement(config, "InputStore")),
      perceivedHearing(GetChildElement(config, "PerceivedHearing")) {}

void TuneConfig::FillLookup(OctaveLookup& lookup) const {
    lookup.Fill(noteStore.NamesAndFrequencies());
}
