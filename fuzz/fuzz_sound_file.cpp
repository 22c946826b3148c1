// The sound-file loader as a click sound is loaded: decoded, folded to mono, resampled, cut.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/AudioFile.h"
#include "pym/base/Trace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = [] {
        Pym::SetTraceHook([](const std::string&) {});
        const std::filesystem::path shm("/dev/shm");
        const auto folder =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        return (folder / ("ondrel-fuzz-sound-" + std::to_string(getpid()) + ".wav")).string();
    }();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::vector<float> samples;
    LoadAudioFile(path, samples, 250.0f, 44100);
    LoadAudioFile(path, samples, 1000.0f, 22050);
    return 0;
}
