#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Testing {

// The bytes of a WAV file of 32-bit float samples (interleaved when stereo). `declaredFrames`
// lets a test write a header that promises more than the file holds.
inline std::string WavBytes(int rate, int channels, const std::vector<float>& samples,
                            long declaredSamples = -1) {
    auto u32 = [](std::string& s, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto u16 = [](std::string& s, std::uint16_t v) {
        s.push_back(static_cast<char>(v & 0xff));
        s.push_back(static_cast<char>(v >> 8));
    };
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(
        (declaredSamples < 0 ? static_cast<long>(samples.size()) : declaredSamples) * 4);
    std::string s = "RIFF";
    u32(s, 4 + 8 + 16 + 8 + dataBytes);
    s += "WAVEfmt ";
    u32(s, 16);
    u16(s, 3);  // IEEE float
    u16(s, static_cast<std::uint16_t>(channels));
    u32(s, static_cast<std::uint32_t>(rate));
    u32(s, static_cast<std::uint32_t>(rate * channels * 4));
    u16(s, static_cast<std::uint16_t>(channels * 4));
    u16(s, 32);
    s += "data";
    u32(s, dataBytes);
    s.append(reinterpret_cast<const char*>(samples.data()), samples.size() * 4);
    return s;
}

}  // namespace Testing
