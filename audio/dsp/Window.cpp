#include "audio/dsp/Window.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Sum of cosine terms a0 - a1 cos(x) + a2 cos(2x) - a3 cos(3x), x = 2 pi i / (n - 1).
std::vector<float> CosineSum(int n, double a0, double a1, double a2 = 0.0, double a3 = 0.0) {
    std::vector<float> w(static_cast<std::size_t>(n), 1.0f);
    if (n == 1) return w;
    for (int i = 0; i < n; ++i) {
        double x = 2.0 * kPi * i / (n - 1);
        w[i] =
            static_cast<float>(a0 - a1 * std::cos(x) + a2 * std::cos(2 * x) - a3 * std::cos(3 * x));
    }
    return w;
}

// The Chebyshev polynomial of the given order outside and inside [-1, 1].
double Chebyshev(double order, double x) {
    if (x > 1.0) return std::cosh(order * std::acosh(x));
    if (x < -1.0) {
        // T_n(-x) = (-1)^n T_n(x)
        double sign = std::fmod(order, 2.0) == 0.0 ? 1.0 : -1.0;
        return sign * std::cosh(order * std::acosh(-x));
    }
    return std::cos(order * std::acos(x));
}

}  // namespace

std::vector<float> DolphChebyshevWindow(int n, double attenuationDb) {
    if (n < 1) return {};
    if (n == 1) return {1.0f};
    const double order = n - 1;
    const double beta = std::cosh(std::acosh(std::pow(10.0, attenuationDb / 20.0)) / order);

    // Samples of the window's spectrum on n points.
    std::vector<double> spectrum(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) spectrum[k] = Chebyshev(order, beta * std::cos(kPi * k / n));

    // cos(pi j / n) for j in [0, 2n): every phase below is a whole multiple of pi / n.
    std::vector<double> cosines(2 * static_cast<std::size_t>(n));
    for (std::size_t j = 0; j < cosines.size(); ++j) cosines[j] = std::cos(kPi * j / n);
    const long long period = 2LL * n;
    auto cosine = [&](long long multiple) {
        long long j = multiple % period;
        if (j < 0) j += period;
        return cosines[static_cast<std::size_t>(j)];
    };

    // Inverse DFT of the real, symmetric spectrum. For an even length the spectrum is first
    // shifted by half a sample so that the window's centre falls between two samples.
    const bool odd = n % 2 == 1;
    const int half = odd ? (n + 1) / 2 : n / 2 + 1;
    std::vector<double> centre(static_cast<std::size_t>(half));
    for (int m = 0; m < half; ++m) {
        double sum = 0.0;
        long long multiple = odd ? 2LL * m : 2LL * m - 1;
        for (int k = 0; k < n; ++k) sum += spectrum[k] * cosine(multiple * k);
        centre[m] = sum;
    }

    std::vector<double> w(static_cast<std::size_t>(n));
    if (odd) {
        // centre[0] is the middle sample.
        for (int m = 0; m < half; ++m) {
            w[half - 1 + m] = centre[m];
            w[half - 1 - m] = centre[m];
        }
    } else {
        // centre[1] and its mirror are the two middle samples; centre[0] is not used.
        for (int m = 1; m < half; ++m) {
            w[n / 2 - 1 + m] = centre[m];
            w[n / 2 - m] = centre[m];
        }
    }
    double peak = *std::max_element(w.begin(), w.end());
    std::vector<float> result(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) result[i] = static_cast<float>(w[i] / peak);
    return result;
}

std::vector<float> MakeWindow(int id, int n) {
    if (n < 1) return {};
    switch (id) {
        case kWindowRaisedCosine:
            return CosineSum(n, 0.54, 0.40);
        case kWindowBlackman:
            return CosineSum(n, 0.42, 0.5, 0.08);
        case kWindowDolphChebyshev:
            return DolphChebyshevWindow(n);
        case kWindowHann:
            return CosineSum(n, 0.5, 0.5);
        case kWindowBlackmanHarris:
            return CosineSum(n, 0.35875, 0.48829, 0.14128, 0.01168);
        default:
            return {};
    }
}
