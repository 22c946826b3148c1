#include "bench/ReferencePitch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/dsp/Fft.h"

namespace {

constexpr double kWindowSeconds = 1.0;  // wider than a vibrato cycle to its window's main lobe
constexpr double kHopSeconds = 0.1;
constexpr int kTransform = 1 << 17;  // a window zero-padded to about three times its length
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

    // The largest bin in [lo, hi] and the partial around it: its frequency is the centroid of
    // the power above `floor` within `reach` bins of the peak. A steady partial's symmetric
    // lobe has its centroid at its peak; a partial with vibrato is smeared, and its centroid
    // is its mean frequency over the window, where the smeared peak is not.
    bool Peak(int lo, int hi, double floor, int reach, double& hertz, double& level) const {
        lo = std::max(lo, 1);
        hi = std::min(hi, static_cast<int>(magnitude.size()) - 2);
        if (hi <= lo) return false;
        int best = lo;
        for (int k = lo; k <= hi; ++k)
            if (magnitude[k] > magnitude[best]) best = k;
        if (best == lo || best == hi || magnitude[best] <= floor) return false;
        // Centred again on the centroid until it settles: the largest bin of a partial with
        // vibrato may be one of its side bands.
        double centre = best, sum = 0.0;
        for (int round = 0; round < 4; ++round) {
            const int middle = static_cast<int>(std::lround(centre));
            double moment = 0.0;
            sum = 0.0;
            for (int k = middle - reach; k <= middle + reach; ++k) {
                const double power = At(k) * At(k) - floor * floor;
                if (power <= 0.0) continue;
                sum += power;
                moment += power * k;
            }
            if (sum <= 0.0) return false;
            centre = moment / sum;
        }
        hertz = centre * binHertz;
        level = std::sqrt(sum);
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

// The pitch of one window of the note.
ReferencePitch MeasureWindow(const Spectrum& spectrum, double rate, double nominal) {
    ReferencePitch result;
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
        const double floor =
            spectrum.Median(spectrum.Bin(expected - 0.5 * a), spectrum.Bin(expected + 0.5 * a));
        // Above twice the floor, what is left of the noise hardly pulls the centroid.
        // Wide enough for vibrato, narrow enough to leave out the neighbours.
        const int width = std::max(2, spectrum.Bin(std::min(0.35 * a, 0.05 * expected)));
        if (!spectrum.Peak(spectrum.Bin(expected - reach), spectrum.Bin(expected + reach),
                           2.0 * floor, width, hertz, level))
            continue;
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
        const int width = spectrum.Bin(reach);
        if (spectrum.Peak(spectrum.Bin(h * a - reach), spectrum.Bin(h * a + reach), 0.0, width,
                          hertz, level))
            on += level * level;
        const double half = (h - 0.5) * a;
        if (spectrum.Peak(spectrum.Bin(half - reach), spectrum.Bin(half + reach), 0.0, width, hertz,
                          level))
            between += level * level;
    }
    if (on > 0.0 && between > 0.0) result.halfPitchDb = 10.0 * std::log10(between / on);
    return result;
}

}  // namespace

ReferencePitch MeasureReferencePitch(const std::vector<float>& samples, double rate, double nominal,
                                     double from, double to) {
    // The median over overlapping windows, as the tuner is judged by its median over frames: a
    // note whose pitch drifts as it fades is not weighted towards its loud start.
    std::vector<ReferencePitch> windows;
    for (double start = from; start + kWindowSeconds <= to + 1e-9; start += kHopSeconds) {
        ReferencePitch r = MeasureWindow(LongSpectrum(samples, rate, start, start + kWindowSeconds),
                                         rate, nominal);
        if (r.hertz > 0.0) windows.push_back(r);
    }
    if (windows.empty()) return {};
    std::sort(windows.begin(), windows.end(),
              [](const ReferencePitch& a, const ReferencePitch& b) { return a.hertz < b.hertz; });
    return windows[windows.size() / 2];
}
