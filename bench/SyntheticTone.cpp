#include "bench/SyntheticTone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

const std::vector<Timbre>& SyntheticTimbres() {
    static const std::vector<Timbre> timbres = {
        {"sine", [](int) { return 1.0; }, 1},
        {"sawtooth", [](int h) { return 1.0 / h; }, 40},
        {"square", [](int h) { return h % 2 ? 1.0 / h : 0.0; }, 40},
        {"weak fundamental", [](int h) { return h == 1 ? 0.05 : 1.0 / h; }, 20},
    };
    return timbres;
}

std::vector<float> MakeTone(const Timbre& timbre, double f, double seconds, double snrDb,
                            std::mt19937& random, double rate) {
    const auto n = static_cast<std::size_t>(seconds * rate);
    std::vector<double> x(n, 0.0);
    std::uniform_real_distribution<double> phase(0.0, 2.0 * std::numbers::pi);
    const double top = std::min(20000.0, 0.45 * rate);
    for (int h = 1; h <= timbre.partials && f * h < top; ++h) {
        const double a = timbre.amplitude(h);
        if (a == 0.0) continue;
        // A rotating phasor: much cheaper than a sine per sample, and exact enough in double.
        const double w = 2.0 * std::numbers::pi * f * h / rate;
        const double cw = std::cos(w), sw = std::sin(w);
        const double p = phase(random);
        double c = std::cos(p), si = std::sin(p);
        for (std::size_t i = 0; i < n; ++i) {
            x[i] += a * si;
            const double next = si * cw + c * sw;
            c = c * cw - si * sw;
            si = next;
        }
    }
    double peak = 0.0, power = 0.0;
    for (double v : x) {
        peak = std::max(peak, std::fabs(v));
        power += v * v;
    }
    const double scale = 0.5 / peak;
    const double noise =
        std::isinf(snrDb) ? 0.0 : std::sqrt(power / n) * scale * std::pow(10.0, -snrDb / 20.0);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<float> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<float>(x[i] * scale + noise * gauss(random));
    return out;
}
