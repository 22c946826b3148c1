#include "tuner/Instrument.h"

Instrument::Instrument(TiXmlElement* element) {
    LoadingScope loading(*this);
    ReadAttribute(name_, element, "Name");
    for (TiXmlElement* style : GetChildElements(element, "Style")) styles_.emplace_back(style);
}

std::vector<std::string> Instrument::StyleNames() const {
    std::vector<std::string> names;
    for (const Style& style : styles_) names.push_back(style.Name());
    return names;
}

Style* Instrument::FindStyle(const std::string& name) {
    for (Style& style : styles_)
        if (style.Name() == name) return &style;
    return nullptr;
}

InstrumentStore::InstrumentStore(TiXmlElement* element) {
    LoadingScope loading(*this);
    for (TiXmlElement* instrument : GetChildElements(element, "Instrument"))
        instruments_.emplace_back(instrument);
}

std::vector<std::string> InstrumentStore::Names() const {
    std::vector<std::string> names;
    for (const Instrument& instrument : instruments_) names.push_back(instrument.Name());
    return names;
}

Instrument* InstrumentStore::Find(const std::string& name) {
    for (Instrument& instrument : instruments_)
        if (instrument.Name() == name) return &instrument;
    return nullptr;
}
