#include "audio/AudioFileWriter.h"

#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "audio/AudioFile.h"
#include "platform/LazyLibrary.h"

namespace {

using OpenFunction = decltype(&sf_open);
using WriteFunction = decltype(&sf_writef_float);
using CloseFunction = decltype(&sf_close);
using ErrorFunction = decltype(&sf_strerror);

}  // namespace

std::string WriteWavFile(const std::string& path, const std::vector<float>& samples,
                         int sampleRate) {
    const Platform::LazyLibrary& library = SndfileLibrary();
    OpenFunction open = nullptr;
    WriteFunction write = nullptr;
    CloseFunction close = nullptr;
    ErrorFunction error = nullptr;
    if (!library.Resolve("sf_open", open) || !library.Resolve("sf_writef_float", write) ||
        !library.Resolve("sf_close", close) || !library.Resolve("sf_strerror", error))
        return "libsndfile.so.1 is not available";

    const std::string partial = path + ".partial-" + std::to_string(getpid());
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = open(partial.c_str(), SFM_WRITE, &info);
    if (!file) return std::string(error(nullptr));
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool written = write(file, samples.data(), frames) == frames;
    std::string problem = written ? std::string() : std::string(error(file));
    if (close(file) != 0 && problem.empty()) problem = "the file could not be completed";
    if (problem.empty() && std::rename(partial.c_str(), path.c_str()) != 0)
        problem = std::strerror(errno);
    if (!problem.empty()) std::remove(partial.c_str());
    return problem;
}
