#pragma once

#include "vis/Vis.h"
#include "vis/VisSources.h"

// The input signal in five views, a click stepping through them: the waveform ("OScope"
// child), the spectrum as bars twice ("SpecAn" child; the second view takes a "SpecAn2" child
// instead where the skin gives one, say with finer bars), the loudness scrolling by (from the
// display's own element) and nothing.
class SampleVis : public Vis {
public:
    SampleVis();
    // Sources other than the input's, for tools and tests.
    SampleVis(SampleSource scope, SampleSource spectrum);

protected:
    void CreateFromXml(TiXmlElement* element) override;

private:
    SampleSource scope_;
    SampleSource spectrum_;
};
