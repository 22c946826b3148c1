#pragma once

#include <string>
#include <vector>

// A sound file read whole through libsndfile and folded to one channel (the mean of the
// channels).
struct MonoSound {
    std::vector<float> samples;
    double sampleRate = 0.0;
};

// False, with libsndfile's reason in `error`, when the file cannot be read.
bool ReadMonoSound(const std::string& path, MonoSound& sound, std::string& error);
