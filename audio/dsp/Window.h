#pragma once

#include <vector>

// Analysis windows by id. Ids 0 and 2 mean "no window": the frame is used unweighted and the
// generator yields nothing, as does any id outside the table.
enum WindowId {
    kWindowNone = 0,
    kWindowRaisedCosine = 1,
    kWindowNoneAlso = 2,
    kWindowBlackman = 3,
    kWindowDolphChebyshev = 4,
    kWindowHann = 5,
    kWindowBlackmanHarris = 6,
};

// The window of the given id and length; empty for the "no window" ids, unknown ids and
// lengths below 1. A window of one sample is 1.
std::vector<float> MakeWindow(int id, int length);

// Symmetric Dolph-Chebyshev window of any length with the given side-lobe attenuation, scaled
// so that its largest value is 1. Computed from the Chebyshev polynomial's samples by an
// inverse DFT; the cost grows with the square of the length.
std::vector<float> DolphChebyshevWindow(int length, double attenuationDb = 60.0);
