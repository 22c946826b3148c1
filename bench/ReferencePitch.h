#pragma once

#include <vector>

// The real pitch of a recorded note, measured slowly and carefully for judging the tuner: one
// long window over the steady part of the note, each partial's frequency taken as the centroid
// of its power (its mean frequency, also under vibrato) to a small fraction of a hertz, and a
// weighted fit of the partials' frequencies that allows for a
// string's stretched overtones. The result is the first partial's frequency.
struct ReferencePitch {
    double hertz = 0.0;    // 0 when no partial near the nominal pitch stands out
    int partials = 0;      // partials used in the fit
    double stretch = 0.0;  // inharmonicity B in f_h = h f (1 + B h^2 / 2)
    // Energy between the nominal partials (at odd multiples of half the pitch) against the
    // energy on them, in dB: near or above 0 means the note really sounds an octave lower.
    double halfPitchDb = -200.0;
};

// `nominal` is the pitch the note is meant to have; the measured one must lie within a
// semitone of it. `from` and `to` (seconds) bound the part of the note measured.
ReferencePitch MeasureReferencePitch(const std::vector<float>& samples, double rate, double nominal,
                                     double from, double to);
