#include "settings/SimpleStore.h"

template <class T>
void SimpleStore<T>::Load(TiXmlElement* element) {
    LoadingScope loading(*this);
    entries_.clear();
    for (TiXmlElement* data : GetChildElements(element, "Data")) {
        Entry entry{std::string(), T()};
        ReadAttribute(entry.first, data, "Name", true);
        ReadAttribute(entry.second, data, "Value", true);
        entries_.push_back(std::move(entry));
    }
}

template <class T>
T SimpleStore<T>::ValueOf(const std::string& name) const {
    for (const Entry& entry : entries_)
        if (entry.first == name) return entry.second;
    return T();
}

template <class T>
std::string SimpleStore<T>::NameOf(T value) const {
    for (const Entry& entry : entries_)
        if (entry.second == value) return entry.first;
    return std::string();
}

template <class T>
std::vector<std::string> SimpleStore<T>::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) names.push_back(entry.first);
    return names;
}

template class SimpleStore<int>;
template class SimpleStore<long>;
template class SimpleStore<float>;
