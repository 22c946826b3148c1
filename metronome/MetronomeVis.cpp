#include "metronome/MetronomeVis.h"

#include "audio/AudioSystem.h"
#include "pym/gui/RegisterType.h"
#include "vis/BeatVis.h"
#include "vis/ClockVis.h"

namespace {

const bool registered[] = {
    Pym::RegisterType<MetronomeVis>("MetronomeVis", ""),
    Pym::RegisterType<MetronomeSampleVis>("MetronomeSampleVis", ""),
    Pym::RegisterType<BeatLightVis>("BeatLightVis", ""),
    Pym::RegisterType<MetronomeBarDotsVis>("BarDotsVis", ""),
};

float SoundingSeconds() {
    return static_cast<float>(DllAudioSystemInstance().SoundingTime());
}

}  // namespace

// The beat displays are refreshed twenty times a second over the screen's pictures: each keeps
// a copy of them and is repainted alone.
MetronomeVis::MetronomeVis() {
    KeepBackdrop();
}

MetronomeVis::~MetronomeVis() {
    SaveView();
}

void MetronomeVis::CreateFromXml(TiXmlElement* element) {
    Vis::CreateFromXml(element);
    AddView(std::make_unique<BeatVis>(GetChildElement(element, "BeatVis"), &BeatPhase, &BarPhase));
    AddView(std::make_unique<BarVis>(GetChildElement(element, "BarVis"), &BeatPhase, &BarPhase));
    AddView(std::make_unique<BlankVis>());
    time_ = std::make_unique<TimeVis>(GetChildElement(element, "TimeVis"), &SoundingSeconds);
    dials_ = std::make_unique<DualAnalogVis>(GetChildElement(element, "DualAnalogVis"), &BeatPhase,
                                             &BarPhase);
    RestoreView();
}

MetronomeSampleVis::~MetronomeSampleVis() {
    SaveView();
}

void MetronomeSampleVis::Redraw() {
    if (DllAudioSystemInstance().Input().IsActive()) {
        stillShown_ = false;
    } else {
        if (stillShown_) return;
        stillShown_ = true;
    }
    SampleVis::Redraw();
}

void MetronomeSampleVis::CreateFromXml(TiXmlElement* element) {
    SampleVis::CreateFromXml(element);
    RestoreView();
}

MetronomeBarDotsVis::MetronomeBarDotsVis() : BarDotsVis(&BarPhase, &BeatsPerBar) {
    KeepBackdrop();
}
