#pragma once

#include <string>

// The metronome's saved settings, in the profile section "Metronome Settings". Values are
// stored as text.
const std::string& MetronomeProfileSection();

// An unreadable or non-numeric value reads as the default.
int ReadProfileInt(const std::string& key, int defaultValue);
bool WriteProfileInt(const std::string& key, int value);
std::string ReadProfileString(const std::string& key, const std::string& defaultValue);
bool WriteProfileString(const std::string& key, const std::string& text);
