#include "audio/dsp/PeakSearch.h"

#include <algorithm>

PeakSearch::PeakSearch(const std::vector<float>& spectrum, int lo, int hi, int width,
                       std::vector<float>& scratch)
    : copy_(scratch),
      lo_(lo),
      hi_(std::min(hi, static_cast<int>(spectrum.size()))),
      width_(std::max(width, 0)) {
    copy_.assign(spectrum.begin(), spectrum.end());
}

int PeakSearch::Next() {
    const int start = std::max(lo_ + width_, 0);
    if (start >= hi_ - width_) return -1;
    int best = start;
    for (int bin = start + 1; bin < hi_; ++bin)
        if (copy_[bin] > copy_[best]) best = bin;
    const int radius = std::max(width_ - 1, 0);
    const int from = std::max(best - radius, 0);
    const int to = std::min(best + radius, hi_ - 1);
    std::fill(copy_.begin() + from, copy_.begin() + to + 1, 0.0f);
    return best;
}

int PeakSearch::Nth(int k) {
    int bin = -1;
    for (int round = 0; round < k; ++round) bin = Next();
    return bin;
}
