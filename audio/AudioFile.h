#pragma once

#include <string>
#include <vector>

namespace Platform {
class LazyLibrary;
}

// libsndfile, opened at the first sound file read or written rather than linked: a machine
// without it still runs, with silent sample clicks. Its functions are looked up on every call.
const Platform::LazyLibrary& SndfileLibrary();

// Decodes a sound file into mono samples at `targetRate`, cut to `maxLengthMs`. Returns the
// length limit in samples, or 0 when the file cannot be read (and `out` is left untouched).
// Never throws.
int LoadAudioFile(const std::string& path, std::vector<float>& out, float maxLengthMs,
                  int targetRate);
