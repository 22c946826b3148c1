#include "audio/dsp/Resampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr int kStepsPerCrossing = 512;
}

Resampler::Resampler(int zeroCrossings) : zeroCrossings_(std::max(zeroCrossings, 1)) {
    const int size = zeroCrossings_ * kStepsPerCrossing + 2;
    table_.resize(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) {
        const double d = static_cast<double>(i) / kStepsPerCrossing;
        if (d >= zeroCrossings_) {
            table_[i] = 0.0;
            continue;
        }
        const double sinc =
            d == 0.0 ? 1.0 : std::sin(std::numbers::pi * d) / (std::numbers::pi * d);
        const double window = 0.5 * (1.0 + std::cos(std::numbers::pi * d / zeroCrossings_));
        table_[i] = sinc * window;
    }
}

double Resampler::Kernel(double d) const {
    d = std::fabs(d) * kStepsPerCrossing;
    const auto index = static_cast<std::size_t>(d);
    if (index + 1 >= table_.size()) return 0.0;
    const double fraction = d - static_cast<double>(index);
    return table_[index] + fraction * (table_[index + 1] - table_[index]);
}

std::vector<float> Resampler::Convert(const std::vector<float>& input, double fromRate,
                                      double toRate) const {
    if (!(fromRate > 0.0) || !(toRate > 0.0) || input.empty()) return {};
    if (fromRate == toRate) return input;
    const double step = fromRate / toRate;                   // input samples per output sample
    const double cutoff = std::min(1.0, toRate / fromRate);  // of the input's Nyquist frequency
    const double reach = zeroCrossings_ / cutoff;            // kernel half-width, input samples
    const auto count = static_cast<std::size_t>(std::floor(input.size() / step));
    const auto last = static_cast<long long>(input.size()) - 1;

    std::vector<float> output(count);
    for (std::size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) * step;
        const long long from = std::max(0LL, static_cast<long long>(std::ceil(t - reach)));
        const long long to = std::min(last, static_cast<long long>(std::floor(t + reach)));
        double sum = 0.0;
        for (long long k = from; k <= to; ++k)
            sum +=
                input[static_cast<std::size_t>(k)] * Kernel((t - static_cast<double>(k)) * cutoff);
        output[n] = static_cast<float>(sum * cutoff);
    }
    return output;
}
