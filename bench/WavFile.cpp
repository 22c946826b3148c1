#include "bench/WavFile.h"

#include <sndfile.h>

bool ReadMonoSound(const std::string& path, MonoSound& sound, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    const int channels = info.channels;
    sound.sampleRate = info.samplerate;
    sound.samples.clear();
    if (channels < 1 || info.samplerate <= 0) {
        sf_close(file);
        error = "no audio in the file";
        return false;
    }
    std::vector<float> block(4096 * static_cast<std::size_t>(channels));
    sf_count_t frames = 0;
    while ((frames = sf_readf_float(file, block.data(), 4096)) > 0) {
        for (sf_count_t f = 0; f < frames; ++f) {
            float sum = 0.0f;
            for (int c = 0; c < channels; ++c) sum += block[f * channels + c];
            sound.samples.push_back(sum / static_cast<float>(channels));
        }
    }
    sf_close(file);
    return true;
}
