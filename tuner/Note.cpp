#include "tuner/Note.h"

Note::Note(TiXmlElement* element, bool required) {
    LoadingScope loading(*this);
    ReadAttribute(name, element, "Name", required);
    ReadAttribute(frequency, element, "Frequency", required);
}

NoteStore::NoteStore(TiXmlElement* element) {
    LoadingScope loading(*this);
    for (TiXmlElement* note : GetChildElements(element, "Note")) notes_.emplace_back(note, true);
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
