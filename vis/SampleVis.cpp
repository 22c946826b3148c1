#include "vis/SampleVis.h"

#include "pym/gui/RegisterType.h"
#include "vis/OScope.h"
#include "vis/SpecAnVis.h"

namespace {

const bool registered = Pym::RegisterType<SampleVis>("SampleVis", "");

}  // namespace

// Refreshed many times a second: repainted alone over a copy of what lies beneath.
SampleVis::SampleVis() {
    KeepBackdrop();
}

SampleVis::SampleVis(SampleSource scope, SampleSource spectrum)
    : scope_(std::move(scope)), spectrum_(std::move(spectrum)) {
    KeepBackdrop();
}

void SampleVis::CreateFromXml(TiXmlElement* element) {
    Vis::CreateFromXml(element);
    if (!scope_) scope_ = InputScopeSource();
    if (!spectrum_) spectrum_ = InputSpectrumSource();
    TiXmlElement* spectrum = GetChildElement(element, "SpecAn");
    TiXmlElement* second =
        HasChildElement(element, "SpecAn2") ? GetChildElement(element, "SpecAn2") : spectrum;
    AddView(std::make_unique<OScope>(GetChildElement(element, "OScope"), scope_));
    AddView(std::make_unique<SpecAnVis>(spectrum, spectrum_));
    AddView(std::make_unique<SpecAnVis>(second, spectrum_));
    AddView(std::make_unique<OScopeCurtain>(element, scope_));
    AddView(std::make_unique<BlankVis>());
}
