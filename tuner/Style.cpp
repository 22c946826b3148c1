#include "tuner/Style.h"

#include <cstdlib>

#include "settings/AppSettings.h"
#include "settings/OctaveLookup.h"

Style::Style(TiXmlElement* element) {
    LoadingScope loading(*this);
    ReadAttribute(name_, element, "Name", true);
    for (TiXmlElement* note : GetChildElements(element, "Note")) notes_.emplace_back(note, false);
}

void Style::BuildNotes(int shift, const NoteStore& store, const OctaveLookup& lookup,
                       const AddNote& add, bool letters) {
    targets_.clear();
    highestFrequency_ = 0.0f;
    for (const Note& note : notes_) {
        const Note* stored = store.Find(note.name);
        float frequency = stored ? stored->frequency : 0.0f;
        std::string label = letters ? OctaveLookup::LettersOf(note.name) : note.name;
        if (shift != 0) {
            for (int step = 0; step < std::abs(shift); ++step) {
                const OctaveEntry* nearest = lookup.Nearest(frequency);
                if (!nearest) break;
                frequency =
                    (shift > 0 ? lookup.Next(*nearest) : lookup.Previous(*nearest)).frequency;
            }
            if (const OctaveEntry* entry = lookup.Nearest(frequency))
                label = letters ? entry->letters : entry->name;
        }
        targets_.emplace_back(label, frequency);
        if (add) add(label, frequency);
        if (frequency > highestFrequency_) highestFrequency_ = frequency;
    }
}

void Style::BuildNotes(int shift, const NoteStore& store, const AddNote& add, bool letters) {
    BuildNotes(shift, store, DllAppSettingsInstance().octaveLookup, add, letters);
}
