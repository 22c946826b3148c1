#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pym/core/XMLLoadSave.h"

// Named transpositions from "TransposeStore": each "Transpose" has "Name" and "Shift"
// (semitones).
class TransposeStore : public Pym::XMLLoadSave {
public:
    using Entry = std::pair<std::string, int>;

    TransposeStore() = default;
    explicit TransposeStore(TiXmlElement* element);

    // The shift of the first entry with that name, 0 without one.
    int ShiftOf(const std::string& name) const;
    std::vector<std::string> Names() const;
    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};
