#include "audio/dsp/Fft.h"

#include <cmath>
#include <numbers>

void Magnitudes(const Complex* values, float* magnitudes, int count) {
    for (int i = 0; i < count; ++i)
        magnitudes[i] = std::sqrt(values[i].re * values[i].re + values[i].im * values[i].im);
}

bool IsPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

ComplexFft::ComplexFft(int size) {
    if (!IsPowerOfTwo(size)) return;
    size_ = size;
    twiddles_.resize(static_cast<std::size_t>(size / 2));
    for (int k = 0; k < size / 2; ++k) {
        double angle = -2.0 * std::numbers::pi * k / size;
        twiddles_[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
    }
    int bits = 0;
    while ((1 << bits) < size) ++bits;
    bitReversal_.resize(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) {
        int reversed = 0;
        for (int b = 0; b < bits; ++b)
            if (i & (1 << b)) reversed |= 1 << (bits - 1 - b);
        bitReversal_[i] = reversed;
    }
}

void ComplexFft::TransformBitReversed(Complex* data) const {
    // The first two passes have the twiddles 1 and -i only: no multiplications.
    if (size_ >= 2) {
        for (int i = 0; i < size_; i += 2) {
            const Complex a = data[i], b = data[i + 1];
            data[i] = {a.re + b.re, a.im + b.im};
            data[i + 1] = {a.re - b.re, a.im - b.im};
        }
    }
    if (size_ >= 4) {
        for (int i = 0; i < size_; i += 4) {
            const Complex a0 = data[i], a1 = data[i + 1];
            const Complex b0 = data[i + 2];
            const Complex b1 = {data[i + 3].im, -data[i + 3].re};  // times -i
            data[i] = {a0.re + b0.re, a0.im + b0.im};
            data[i + 2] = {a0.re - b0.re, a0.im - b0.im};
            data[i + 1] = {a1.re + b1.re, a1.im + b1.im};
            data[i + 3] = {a1.re - b1.re, a1.im - b1.im};
        }
    }
    for (int span = 8; span <= size_; span *= 2) {
        const int half = span / 2;
        const int stride = size_ / span;
        for (int start = 0; start < size_; start += span) {
            for (int j = 0; j < half; ++j) {
                const Complex w = twiddles_[j * stride];
                Complex& a = data[start + j];
                Complex& b = data[start + j + half];
                const float re = b.re * w.re - b.im * w.im;
                const float im = b.re * w.im + b.im * w.re;
                b = {a.re - re, a.im - im};
                a = {a.re + re, a.im + im};
            }
        }
    }
}

void ComplexFft::Transform(Complex* data) const {
    for (int i = 0; i < size_; ++i) {
        int j = bitReversal_[i];
        if (j > i) std::swap(data[i], data[j]);
    }
    TransformBitReversed(data);
}

RealFft::RealFft(int frameSize) : fft_(frameSize / 2) {
    if (!IsPowerOfTwo(frameSize) || frameSize < 2) {
        fft_ = ComplexFft();
        return;
    }
    const int m = fft_.Size();
    split_.resize(static_cast<std::size_t>(m));
    for (int k = 0; k < m; ++k) {
        double angle = -std::numbers::pi * k / m;
        split_[k] = {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
    }
    packed_.resize(static_cast<std::size_t>(m));
}

void RealFft::Transform(const float* frame, Complex* bins) {
    const int m = fft_.Size();
    if (m == 0) return;
    // Even samples become the real parts, odd samples the imaginary parts, already in the
    // order the butterflies want.
    for (int i = 0; i < m; ++i) {
        int r = fft_.BitReversed(i);
        packed_[i] = {frame[2 * r], frame[2 * r + 1]};
    }
    fft_.TransformBitReversed(packed_.data());

    // Untangle the spectra of the even and the odd samples, then combine them.
    for (int k = 0; k < m; ++k) {
        const Complex a = packed_[k];
        const Complex b = packed_[k == 0 ? 0 : m - k];
        const Complex even = {0.5f * (a.re + b.re), 0.5f * (a.im - b.im)};
        // (a - conj b) / 2i
        const Complex odd = {0.5f * (a.im + b.im), -0.5f * (a.re - b.re)};
        const Complex w = split_[k];
        bins[k] = {even.re + w.re * odd.re - w.im * odd.im,
                   even.im + w.re * odd.im + w.im * odd.re};
    }
}
