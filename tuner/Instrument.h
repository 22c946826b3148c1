#pragma once

#include <string>
#include <vector>

#include "tuner/Style.h"

// An instrument and its tuning styles.
class Instrument : public Pym::XMLLoadSave {
public:
    explicit Instrument(TiXmlElement* element);

    const std::string& Name() const { return name_; }
    std::vector<Style>& Styles() { return styles_; }
    const std::vector<Style>& Styles() const { return styles_; }
    std::vector<std::string> StyleNames() const;
    // The first style of that name, or null.
    Style* FindStyle(const std::string& name);

private:
    std::string name_;
    std::vector<Style> styles_;
};

// Every instrument of "InstrumentStore", in document order.
class InstrumentStore : public Pym::XMLLoadSave {
public:
    InstrumentStore() = default;
    explicit InstrumentStore(TiXmlElement* element);

    std::vector<Instrument>& Instruments() { return instruments_; }
    const std::vector<Instrument>& Instruments() const { return instruments_; }
    std::vector<std::string> Names() const;
    // The first instrument of that name, or null.
    Instrument* Find(const std::string& name);

private:
    std::vector<Instrument> instruments_;
};
