#pragma once

#include <memory>

#include "metronome/BeatPhase.h"
#include "vis/BarDotsVis.h"
#include "vis/ObjectSliderVis.h"
#include "vis/SampleVis.h"
#include "vis/Vis.h"

class TimeVis;
class DualAnalogVis;

// The beat and bar display of the metronome screen: its views, a click stepping through them,
// are the columns ("BeatVis" child), the markers ("BarVis" child) and nothing. It also builds a
// time read-out ("TimeVis") and two dials ("DualAnalogVis"), which are not among its views. The
// view shown is restored when it is built and saved when it goes.
class MetronomeVis : public Vis {
public:
    MetronomeVis();
    ~MetronomeVis() override;

protected:
    void CreateFromXml(TiXmlElement* element) override;

private:
    std::unique_ptr<TimeVis> time_;
    std::unique_ptr<DualAnalogVis> dials_;
};

// The input signal's display on the metronome screen, remembering its view as MetronomeVis does.
// The input runs here only while recording; a stopped input is a still, flat picture, painted
// once rather than at every refresh.
class MetronomeSampleVis : public SampleVis {
public:
    MetronomeSampleVis() = default;
    ~MetronomeSampleVis() override;
    void Redraw() override;

protected:
    void CreateFromXml(TiXmlElement* element) override;

private:
    bool stillShown_ = false;
};

// The bar's dots fed by the sound heard.
class MetronomeBarDotsVis : public BarDotsVis {
public:
    MetronomeBarDotsVis();
};

// The beat light: a slider display at its maximum at each click, falling to its minimum just
// before the next, at its minimum while stopped.
using BeatLightVis = Pym::ObjectSliderVis<BeatValueFunctor>;
