#pragma once

#include <string>
#include <utility>
#include <vector>

// The metronome's saved settings, in the profile section "Metronome Settings". Values are
// stored as text.
const std::string& MetronomeProfileSection();

// An unreadable or non-numeric value reads as the default.
int ReadProfileInt(const std::string& key, int defaultValue);
bool WriteProfileInt(const std::string& key, int value);
std::string ReadProfileString(const std::string& key, const std::string& defaultValue);
bool WriteProfileString(const std::string& key, const std::string& text);
// Several keys in one write, so that they are saved together or not at all. A failed write is
// told on standard error: settings the user thinks are kept are not.
bool WriteProfileStrings(const std::vector<std::pair<std::string, std::string>>& entries);
