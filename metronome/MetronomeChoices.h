#pragma once

#include <string>

#include "metronome/SpeedTrainer.h"

// The metronome's choices that survive a restart, as the profile keeps them: the tempo, and the
// accent and sound as their menus show them.
struct MetronomeChoices {
    static constexpr int kDefaultBpm = 114;
    static constexpr int kSlowestBpm = 10;
    static constexpr int kFastestBpm = 5000;
    static constexpr int kDefaultBeats = 4;
    static constexpr float kDefaultToneFrequency = 440.0f;
    static constexpr const char* kDefaultAccent = "ACCENT: 4";
    static constexpr int kMostTrainerBars = 999;

    int bpm = kDefaultBpm;
    std::string accent = kDefaultAccent;
    std::string output;
    std::string subdivision;  // as its menu shows it; empty: none between the beats
    bool trainerOn = false;
    SpeedTrainerPlan trainer;

    // What the profile holds; a missing or unreadable value reads as its default, a tempo
    // out of range as the nearest one the tempo box accepts.
    static MetronomeChoices Read();
    void Write() const;
};
