#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pym/core/XMLLoadSave.h"

// A named pitch: "Note" with "Name" and "Frequency" (Hz).
class Note : public Pym::XMLLoadSave {
public:
    Note() = default;
    Note(std::string name, float frequency) : name(std::move(name)), frequency(frequency) {}
    // Both attributes are required in the note store and optional inside a style.
    Note(TiXmlElement* element, bool required);

    std::string name;
    float frequency = 0.0f;
};

// Every note the tuner can name, from "NoteStore", in document order.
class NoteStore : public Pym::XMLLoadSave {
public:
    NoteStore() = default;
    explicit NoteStore(TiXmlElement* element);

    // The first note with exactly this name, or null.
    const Note* Find(const std::string& name) const;
    // (name, frequency) of every note, for the octave lookup.
    std::vector<std::pair<std::string, float>> NamesAndFrequencies() const;

    const std::vector<Note>& Notes() const { return notes_; }

private:
    std::vector<Note> notes_;
};
