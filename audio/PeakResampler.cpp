#include "audio/PeakResampler.h"

#include <algorithm>
#include <cmath>

#include "audio/Rounding.h"

std::vector<float> FoldStereoKeepingPeaks(const std::vector<float>& interleaved) {
    std::vector<float> mono(interleaved.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        float left = interleaved[2 * i];
        float right = interleaved[2 * i + 1];
        mono[i] = std::fabs(left) > std::fabs(right) ? left : right;
    }
    return mono;
}

void PeakKeepingResample(const std::vector<float>& source, std::vector<float>& destination,
                         bool interpolate) {
    if (source.size() == destination.size()) {
        std::copy(source.begin(), source.end(), destination.begin());
        return;
    }
    if (source.empty() || destination.empty()) return;
    const long long last = static_cast<long long>(destination.size()) - 1;
    const double step = static_cast<double>(last) / static_cast<double>(source.size());
    double position = 0.0;
    long long previous = 0;
    for (float sample : source) {
        long long index = std::clamp(Nearest(position), 0LL, last);
        float& slot = destination[static_cast<std::size_t>(index)];
        if (!(std::fabs(slot) > std::fabs(sample))) slot = sample;
        if (index - previous > 1) {
            float from = destination[static_cast<std::size_t>(previous)];
            float to = slot;
            for (long long k = previous + 1; k < index; ++k) {
                float t = static_cast<float>(k - previous) / static_cast<float>(index - previous);
                destination[static_cast<std::size_t>(k)] =
                    interpolate ? from + (to - from) * t : to;
            }
        }
        previous = index;
        position += step;
    }
}
