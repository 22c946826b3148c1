#include "tuner/ReferenceTone.h"

#include <cmath>

#include "audio/ToneSynthesis.h"

namespace ReferenceTone {

namespace {

double Sine(float frequency, long long sample) {
    return std::sin(2.0 * M_PI * frequency * static_cast<double>(sample) / kSampleRate);
}

}  // namespace

long long LoopLength(float frequency) {
    if (!(frequency > 0.0f) || !std::isfinite(frequency)) return 0;
    for (long long i = 2; i <= 999; ++i) {
        const long long at = i - 1;
        const double value = Sine(frequency, at);
        if (std::fabs(value) < 0.009 && Sine(frequency, at - 1) < value &&
            value < Sine(frequency, at + 1))
            return at;
    }
    return 0;
}

long long SampleCount(float frequency) {
    const long long loop = LoopLength(frequency);
    return loop > 0 ? loop * (kLongest / loop) : kLongest;
}

void Render(float frequency, std::vector<float>& out) {
    const auto sine = [](float angle) { return std::sin(angle); };
    const long long loop = LoopLength(frequency);
    if (loop == 0) {
        SynthesiseToneSamples(frequency, kLongest, kSampleRate, out, sine);
        return;
    }
    // One loop repeated: a sine rendered straight through would drift from the loop's phase a
    // little each period, and be off by a step where the device wraps round.
    std::vector<float> one;
    SynthesiseToneSamples(frequency, loop, kSampleRate, one, sine);
    const long long count = SampleCount(frequency);
    out.resize(static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i)
        out[static_cast<std::size_t>(i)] = one[static_cast<std::size_t>(i % loop)];
}

}  // namespace ReferenceTone
