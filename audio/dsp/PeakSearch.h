#pragma once

#include <vector>

// Successive peaks of a magnitude spectrum in a bin range [lo, hi): each round takes the
// largest remaining value in [lo + width, hi) (the first one on ties) and blanks it together
// with its neighbours up to width - 1 bins away, so the next round finds a different peak.
class PeakSearch {
public:
    // Copies the spectrum into `scratch` (reused between searches to avoid allocation).
    PeakSearch(const std::vector<float>& spectrum, int lo, int hi, int width,
               std::vector<float>& scratch);

    // The bin of the next round, or -1 when the range is too narrow to search.
    int Next();
    // The bin of the k-th round (k >= 1) counted from the start of the search.
    int Nth(int k);

private:
    std::vector<float>& copy_;
    int lo_;
    int hi_;
    int width_;
};
