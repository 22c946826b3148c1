#pragma once

#include <vector>

struct Complex {
    float re = 0.0f;
    float im = 0.0f;
};

// |z| of every value, unnormalised.
void Magnitudes(const Complex* values, float* magnitudes, int count);

bool IsPowerOfTwo(int n);

// In-place radix-2 complex FFT of a fixed power-of-two size, forward direction (e^-i), no
// scaling. Twiddles and the bit-reversal table are made once.
class ComplexFft {
public:
    ComplexFft() = default;
    // A size that is not a power of two leaves the transform unusable (Size() 0).
    explicit ComplexFft(int size);

    int Size() const { return size_; }
    int BitReversed(int index) const { return bitReversal_[index]; }

    // Transforms values that are already in bit-reversed order.
    void TransformBitReversed(Complex* data) const;
    // Transforms values in natural order.
    void Transform(Complex* data) const;

private:
    int size_ = 0;
    std::vector<Complex> twiddles_;  // e^(-2 pi i k / size), k < size / 2
    std::vector<int> bitReversal_;
};

// Spectrum of a real frame of 2M samples through an M-point complex FFT and one split pass.
// Output bin k (0 <= k < M) lies at k / (2M) of the sample rate.
class RealFft {
public:
    RealFft() = default;
    // `frameSize` is 2M; it must be a power of two of at least 2.
    explicit RealFft(int frameSize);

    int FrameSize() const { return 2 * fft_.Size(); }
    int Bins() const { return fft_.Size(); }

    // Writes M bins of the frame's spectrum to `bins`.
    void Transform(const float* frame, Complex* bins);

private:
    ComplexFft fft_;
    std::vector<Complex> split_;  // e^(-i pi k / M), k < M
    std::vector<Complex> packed_;
};
