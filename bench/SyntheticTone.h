#pragma once

#include <functional>
#include <random>
#include <vector>

// The synthetic tones the pitch benchmarks measure: a harmonic series with a given amplitude per
// partial.
struct Timbre {
    const char* name;
    std::function<double(int harmonic)> amplitude;
    int partials;
};

// Sine, sawtooth, square and a weak fundamental (20 dB under the octave, like a low string).
const std::vector<Timbre>& SyntheticTimbres();

// A tone peaking at half full scale whose partials stay below 20 kHz and 0.45 of the rate, with
// white noise `snrDb` below its RMS (no noise for infinity). Partials start at random phases.
std::vector<float> MakeTone(const Timbre& timbre, double f, double seconds, double snrDb,
                            std::mt19937& random, double rate);
