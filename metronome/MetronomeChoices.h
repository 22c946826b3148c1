#pragma once

#include <string>

// The metronome's choices that survive a restart, as the profile keeps them: the tempo, and the
// accent and sound as their menus show them.
struct MetronomeChoices {
    static constexpr int kDefaultBpm = 114;
    static constexpr const char* kDefaultAccent = "ACCENT: 4";

    int bpm = kDefaultBpm;
    std::string accent = kDefaultAccent;
    std::string output;

    // What the profile holds; a missing or unreadable value reads as its default.
    static MetronomeChoices Read();
    void Write() const;
};
