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
    // The searched range is kept as blocks with their largest value, so a round looks at the
    // blocks and rescans only those it blanked.
    static constexpr int kBlock = 32;
    static constexpr int kMaxBlocks = 4096 / kBlock;
    void ScanBlock(int block);

    std::vector<float>& copy_;
    int start_;  // lo + width
    int hi_;
    int width_;
    int blocks_ = 0;
    float blockMax_[kMaxBlocks];
    int blockArg_[kMaxBlocks];
    bool blocked_;  // false for spectra too long for the block table: plain scans instead
};
