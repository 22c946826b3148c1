#include "bench/ReferencePitch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/dsp/Fft.h"

namespace {

constexpr int kTransform = 1 << 18;  // zero-padded to a few times the window
constexpr int kMaxPartials = 16;
constexpr double kTopHertz = 5000.0;   // what the tuner hears after its reduction
constexpr double kStandOutDb = 20.0;   // a partial's peak over its neighbourhood's median
constexpr double kSearchCents = 40.0;  // around the partial the fit so far predicts

struct Spectrum {
    std::vector<double> magnitude;
    double binHertz;

    double At(int bin) const {
        return bin >= 0 && bin < static_cast<int>(magnitude.size()) ? magnitude[bin] : 0.0;
    }
    int Bin(double hertz) const { return static_cast<int>(std::lround(hertz / binHertz)); }

    // The largest bin in [lo, hi], placed between bins by a parabola through the logarithms of
    // its neighbours (exact for a Gaussian peak, very close for the Blackman-Harris window).
    bool Peak(int lo, int hi, double& hertz, double& level) const {
        lo = std::max(lo, 1);
        hi = std::min(hi, static_cast<int>(magnitude.size()) - 2);
        if (hi <= lo) return false;
        int best = lo;
        for (int k = lo; k <= hi; ++k)
            if (magnitude[k] > magnitude[best]) best = k;
        if (best == lo || best == hi || magnitude[best] <= 0.0) return false;
        const double a = std::log(At(best - 1) + 1e-30), b = std::log(At(best)),
                     c = std::log(At(best + 1) + 1e-30);
        const double offset = 0.5 * (a - c) / (a - 2.0 * b + c);
        hertz = (best + offset) * binHertz;
        level = std::exp(b - 0.25 * (a - c) * offset);
        return true;
    }

    double Median(int lo, int hi) const {
        lo = std::max(lo, 0);
        hi = std::min(hi, static_cast<int>(magnitude.size()) - 1);
        if (hi < lo) return 0.0;
        std::vector<double> part(magnitude.begin() + lo, magnitude.begin() + hi + 1);
        std::nth_element(part.begin(), part.begin() + part.size() / 2, part.end());
        return part[part.size() / 2];
    }
};

Spectrum LongSpectrum(const std::vector<float>& samples, double rate, double from, double to) {
    const auto first = static_cast<std::size_t>(std::max(from, 0.0) * rate);
    const auto last = std::min(samples.size(), static_cast<std::size_t>(to * rate));
    const std::size_t n = last > first ? std::min<std::size_t>(last - first, kTransform) : 0;
    std::vector<float> frame(kTransform, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        // Blackman-Harris: side lobes far below any partial that matters.
        const double x =
            2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n - 1);
        const double w =
            0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        frame[i] = static_cast<float>(w * samples[first + i]);
    }
    RealFft fft(kTransform);
    std::vector<Complex> bins(kTransform / 2);
    fft.Transform(frame.data(), bins.data());
    Spectrum spectrum{std::vector<double>(bins.size()), rate / kTransform};
    for (std::size_t k = 0; k < bins.size(); ++k)
        spectrum.magnitude[k] = std::hypot(static_cast<double>(bins[k].re), bins[k].im);
    return spectrum;
}

struct Partial {
    int h;
    double hertz;
    double level;
};

// Weighted least squares of f_h / h = a + c h^2; c is kept only when the partials support a
// stretch (three or more, and c > 0).
void Fit(const std::vector<Partial>& partials, double& a, double& c) {
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Partial& p : partials) {
        const double w = p.level, x = static_cast<double>(p.h * p.h), y = p.hertz / p.h;
        sw += w;
        sx += w * x;
        sy += w * y;
        sxx += w * x * x;
        sxy += w * x * y;
    }
    a = sy / sw;
    c = 0.0;
    const double det = sw * sxx - sx * sx;
    if (partials.size() >= 3 && det > 1e-12 * sw * sxx) {
        const double slope = (sw * sxy - sx * sy) / det;
        if (slope > 0.0) {
            c = slope;
            a = (sy - slope * sx) / sw;
        }
    }
}

}  // namespace

ReferencePitch MeasureReferencePitch(const std::vector<float>& samples, double rate, double nominal,
                                     double from, double to) {
    ReferencePitch result;
    const Spectrum spectrum = LongSpectrum(samples, rate, from, to);
    const double top = std::min(kTopHertz, 0.45 * rate);

    // Partials from the lowest up, each searched where the fit of those below predicts it, so
    // a stretched series is followed.
    std::vector<Partial> partials;
    double a = nominal, c = 0.0;
    double strongest = 0.0;
    std::vector<Partial> found;
    for (int h = 1; h <= kMaxPartials && h * a < top; ++h) {
        const double expected = h * (a + c * h * h);
        const double reach =
            std::min(expected * (std::pow(2.0, kSearchCents / 1200.0) - 1.0), 0.3 * a);
        double hertz = 0.0, level = 0.0;
        if (!spectrum.Peak(spectrum.Bin(expected - reach), spectrum.Bin(expected + reach), hertz,
                           level))
            continue;
        const double floor =
            spectrum.Median(spectrum.Bin(expected - 0.5 * a), spectrum.Bin(expected + 0.5 * a));
        if (20.0 * std::log10(level / (floor + 1e-30)) < kStandOutDb) continue;
        found.push_back({h, hertz, level});
        strongest = std::max(strongest, level);
        // Partials far below the strongest are left out of the fit: their peaks are the least
        // certain, and would only pull it.
        partials.clear();
        for (const Partial& p : found)
            if (p.level > strongest * 1e-3) partials.push_back(p);
        Fit(partials, a, c);
        if (partials.size() < 2) a = partials.front().hertz / partials.front().h, c = 0.0;
    }
    if (partials.empty()) return result;
    const double cents = 1200.0 * std::log2(a / nominal);
    if (std::fabs(cents) > 100.0) return result;
    result.hertz = a;
    result.partials = static_cast<int>(partials.size());
    result.stretch = 2.0 * c / a;

    // Evidence of a pitch an octave below: energy at the odd multiples of a / 2.
    double on = 0.0, between = 0.0;
    for (int h = 1; h <= kMaxPartials && (h + 0.5) * a < top; ++h) {
        double hertz = 0.0, level = 0.0;
        const double reach = 0.1 * a;
        if (spectrum.Peak(spectrum.Bin(h * a - reach), spectrum.Bin(h * a + reach), hertz, level))
            on += level * level;
        const double half = (h - 0.5) * a;
        if (spectrum.Peak(spectrum.Bin(half - reach), spectrum.Bin(half + reach), hertz, level))
            between += level * level;
    }
    if (on > 0.0 && between > 0.0) result.halfPitchDb = 10.0 * std::log10(between / on);
    return result;
}
