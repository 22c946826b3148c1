#pragma once

#include <functional>
#include <string>

#include "settings/OctaveLookup.h"

// The process-wide settings record that every screen reads and writes. The metronome screen
// gives tempo, accent and tone frequency their values when it is built.
class AppSettings {
public:
    AppSettings();

    // Highest frequency the spectrum display shows; setting it tells the tuner hook how many
    // spectrum bins that is.
    int SpectrumTopFrequency() const { return spectrumTopFrequency_; }
    void SetSpectrumTopFrequency(int hertz);
    static int SpectrumBinCount(int topFrequency);

    // Note names of measured frequencies; empty while no notes are configured.
    std::string NoteLetters(float frequency) const;
    std::string NoteName(float frequency) const;
    // The frequency of the note below or above the note nearest to `frequency`.
    float PreviousFrequency(float frequency) const;
    float NextFrequency(float frequency) const;

    OctaveLookup octaveLookup;
    float desiredFrequency = 0.0f;  // Hz: the normal click's tone and the reference tone
    int desiredBpm = 0;             // beats per minute
    int accent = 0;                 // beats per bar
    int subdivision = 1;            // clicks per beat (1: none between the beats)
    int transposeShift = 0;         // semitones, from the tuner's transpose menu
    int levelThreshold = 5;         // tuner level gate
    int levelFloor = 20;            // dB
    int levelSpan = 100;
    float readOutInterval = 0.05f;         // s between tuner read-out refreshes
    float titleInterval = 0.25f;           // s between tuner window-title updates
    float displayRefreshInterval = 0.05f;  // s between metronome text display refreshes
    std::function<void(int binCount)> tunerCallback;
    std::string version;

private:
    int spectrumTopFrequency_ = 2700;
};

AppSettings& DllAppSettingsInstance();
