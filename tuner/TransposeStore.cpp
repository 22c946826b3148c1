#include "tuner/TransposeStore.h"

TransposeStore::TransposeStore(TiXmlElement* element) {
    LoadingScope loading(*this);
    for (TiXmlElement* transpose : GetChildElements(element, "Transpose")) {
        Entry entry{std::string(), 0};
        ReadAttribute(entry.first, transpose, "Name", true);
        ReadAttribute(entry.second, transpose, "Shift", true);
        entries_.push_back(std::move(entry));
    }
}

int TransposeStore::ShiftOf(const std::string& name) const {
    for (const Entry& entry : entries_)
        if (entry.first == name) return entry.second;
    return 0;
}

std::vector<std::string> TransposeStore::Names() const {
    std::vector<std::string> names;
    for (const Entry& entry : entries_) names.push_back(entry.first);
    return names;
}
