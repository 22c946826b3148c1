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
    // The pitch of A4 the stored frequencies are tuned to, and the calibrations offered.
    static constexpr float kStandardA4 = 440.0f;
    static constexpr float kLowestA4 = 415.0f;
    static constexpr float kHighestA4 = 466.0f;
    static constexpr float kA4Step = 0.5f;

    NoteStore() = default;
    explicit NoteStore(TiXmlElement* element);

    // Scales every note to A4 = `a4` (clamped to the range, to the nearest step), from the
    // stored frequencies: calibrating back to 440 gives the file's values again. Returns the
    // calibration taken.
    float Calibrate(float a4);
    float Calibration() const { return a4_; }
    static float NearestCalibration(float a4);

    // The first note with exactly this name, or null.
    const Note* Find(const std::string& name) const;
    // (name, frequency) of every note, for the octave lookup.
    std::vector<std::pair<std::string, float>> NamesAndFrequencies() const;

    const std::vector<Note>& Notes() const { return notes_; }

private:
    std::vector<Note> notes_;
    std::vector<float> stored_;  // the file's frequencies
    float a4_ = kStandardA4;
};
