#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tuner/Note.h"

class OctaveLookup;

// A tuning style of an instrument: the notes it offers as targets, in document order.
class Style : public Pym::XMLLoadSave {
public:
    using AddNote = std::function<void(const std::string& label, float frequency)>;

    explicit Style(TiXmlElement* element);

    // Makes the style's target notes: each note's frequency from the note store (0 for a
    // name it lacks), moved `shift` notes up or down the lookup; labelled with the note's
    // letters or full name. Each target goes to `add` in order.
    void BuildNotes(int shift, const NoteStore& store, const OctaveLookup& lookup,
                    const AddNote& add, bool letters);
    // The same through the process's lookup, the one the tuner screen fills (AppSettings).
    void BuildNotes(int shift, const NoteStore& store, const AddNote& add, bool letters);

    const std::string& Name() const { return name_; }
    const std::vector<Note>& Notes() const { return notes_; }
    // The targets of the last BuildNotes, as (label, frequency).
    const std::vector<Note>& Targets() const { return targets_; }
    float HighestFrequency() const { return highestFrequency_; }

private:
    std::string name_;
    std::vector<Note> notes_;
    std::vector<Note> targets_;
    float highestFrequency_ = 0.0f;
};
