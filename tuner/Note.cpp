#include "tuner/Note.h"

#include <algorithm>
#include <cmath>

Note::Note(TiXmlElement* element, bool required) {
    LoadingScope loading(*this);
    ReadAttribute(name, element, "Name", required);
    ReadAttribute(frequency, element, "Frequency", required);
}

NoteStore::NoteStore(TiXmlElement* element) {
    LoadingScope loading(*this);
    for (TiXmlElement* note : GetChildElements(element, "Note")) {
        notes_.emplace_back(note, true);
        stored_.push_back(notes_.back().frequency);
    }
}

float NoteStore::NearestCalibration(float a4) {
    if (!std::isfinite(a4)) return kStandardA4;
    return std::clamp(std::round(a4 / kA4Step) * kA4Step, kLowestA4, kHighestA4);
}

float NoteStore::Calibrate(float a4) {
    a4_ = NearestCalibration(a4);
    const double ratio = static_cast<double>(a4_) / kStandardA4;
    for (std::size_t i = 0; i < notes_.size(); ++i)
        notes_[i].frequency =
            a4_ == kStandardA4 ? stored_[i] : static_cast<float>(stored_[i] * ratio);
    return a4_;
}

const Note* NoteStore::Find(const std::string& name) const {
    for (const Note& note : notes_)
        if (note.name == name) return &note;
    return nullptr;
}

std::vector<std::pair<std::string, float>> NoteStore::NamesAndFrequencies() const {
    std::vector<std::pair<std::string, float>> pairs;
    pairs.reserve(notes_.size());
    for (const Note& note : notes_) pairs.emplace_back(note.name, note.frequency);
    return pairs;
}
