#pragma once

#include "vis/Vis.h"

// The tuning display: how far the note heard is from the target, on the cents scale (child
// element "Cents") and the hertz scale ("Hertz"). Under each it builds a needle meter, a sliding
// meter and a fret strip (their looks from the scale's "Meter", "SlidingMeter" and "Fret"
// children), all fed by the target and the detected frequency. Its views, a click stepping
// through them: needle over slider in cents, the same in hertz, and the two fret strips.
class TuneVis : public Vis {
public:
    TuneVis();
    ~TuneVis() override;

protected:
    void CreateFromXml(TiXmlElement* element) override;
};
