#include "audio/ToneSynthesis.h"

#include <algorithm>

#include "audio/Rounding.h"

namespace {
constexpr float kMaxToneMs = 10000.0f;
}  // namespace

void SynthesiseToneSamples(float frequency, long long count, int sampleRate,
                           std::vector<float>& out, const Waveform& waveform) {
    const long long most = Nearest(static_cast<long double>(kMaxToneMs) * sampleRate * 0.001L);
    const double step = frequency * 6.283185307179586 / sampleRate;
    out.resize(static_cast<std::size_t>(std::clamp(count, 0LL, most)));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = waveform(static_cast<float>(static_cast<double>(i) * step));
}

void SynthesiseTone(float frequency, float length, int sampleRate, std::vector<float>& out,
                    const Waveform& waveform) {
    if (length > kMaxToneMs) length = kMaxToneMs;
    SynthesiseToneSamples(frequency,
                          Nearest(static_cast<long double>(length) * sampleRate * 0.001L),
                          sampleRate, out, waveform);
}
