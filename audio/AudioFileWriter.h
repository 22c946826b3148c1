#pragma once

#include <string>
#include <vector>

// Writes mono float samples as a 32-bit float WAV file through libsndfile (loaded at run time,
// as the reader loads it). The file appears whole or not at all: it is written beside its
// final name and renamed. Returns an empty string, or what went wrong.
std::string WriteWavFile(const std::string& path, const std::vector<float>& samples,
                         int sampleRate);
