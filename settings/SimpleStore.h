#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pym/core/XMLLoadSave.h"

// Named values from a skin element's "Data" children ("Name", "Value"), in document order.
// Duplicate names stay; lookups take the first match.
template <class T>
class SimpleStore : public Pym::XMLLoadSave {
public:
    using Entry = std::pair<std::string, T>;

    SimpleStore() = default;
    explicit SimpleStore(TiXmlElement* element) { Load(element); }

    void Load(TiXmlElement* element);

    // The value of the first entry with this name, or 0.
    T ValueOf(const std::string& name) const;
    // The name of the first entry with this value, or "".
    std::string NameOf(T value) const;
    std::vector<std::string> Names() const;

    const std::vector<Entry>& Entries() const { return entries_; }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }

private:
    std::vector<Entry> entries_;
};

extern template class SimpleStore<int>;
extern template class SimpleStore<long>;
extern template class SimpleStore<float>;
