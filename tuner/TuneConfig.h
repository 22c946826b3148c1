#pragma once

#include "settings/SimpleStore.h"
#include "tuner/Instrument.h"
#include "tuner/Note.h"
#include "tuner/TransposeStore.h"

class OctaveLookup;

// The tuner screen's skin configuration, its "Config" element. All five children are
// required.
class TuneConfig : public Pym::XMLLoadSave {
public:
    explicit TuneConfig(TiXmlElement* config);

    // Rebuilds the lookup that names measured frequencies from the note store.
    void FillLookup(OctaveLookup& lookup) const;

    InstrumentStore instrumentStore;
    NoteStore noteStore;
    TransposeStore transposeStore;
    SimpleStore<long> inputStore;         // input line name -> component type
    SimpleStore<float> perceivedHearing;  // band -> relative loudness of hearing, dB
};
