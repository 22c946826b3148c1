#pragma once

#include <vector>

// Converts a whole signal from one sample rate to another with a windowed-sinc kernel whose
// cut-off follows the lower of the two rates, so downsampling does not alias. For measuring
// tools, not the audio thread: it allocates.
class Resampler {
public:
    // `zeroCrossings` per side of the kernel at the lower rate.
    explicit Resampler(int zeroCrossings = 32);

    std::vector<float> Convert(const std::vector<float>& input, double fromRate,
                               double toRate) const;

private:
    // The Hann-windowed sinc at a distance of `d` zero crossings, by linear interpolation in
    // a finely sampled table.
    double Kernel(double d) const;

    int zeroCrossings_;
    std::vector<double> table_;
};
