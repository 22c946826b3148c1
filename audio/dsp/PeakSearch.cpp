#include "audio/dsp/PeakSearch.h"

#include <algorithm>

PeakSearch::PeakSearch(const std::vector<float>& spectrum, int lo, int hi, int width,
                       std::vector<float>& scratch)
    : copy_(scratch),
      start_(std::max(lo + std::max(width, 0), 0)),
      hi_(std::min(hi, static_cast<int>(spectrum.size()))),
      width_(std::max(width, 0)) {
    copy_.assign(spectrum.begin(), spectrum.end());
    const int length = std::max(hi_ - start_, 0);
    blocks_ = (length + kBlock - 1) / kBlock;
    blocked_ = blocks_ <= kMaxBlocks;
    if (blocked_)
        for (int b = 0; b < blocks_; ++b) ScanBlock(b);
}

void PeakSearch::ScanBlock(int block) {
    const int from = start_ + block * kBlock;
    const int to = std::min(from + kBlock, hi_);
    int best = from;
    for (int bin = from + 1; bin < to; ++bin)
        if (copy_[bin] > copy_[best]) best = bin;
    blockMax_[block] = copy_[best];
    blockArg_[block] = best;
}

int PeakSearch::Next() {
    if (start_ >= hi_ - width_) return -1;
    int best;
    if (blocked_) {
        int bestBlock = 0;
        for (int b = 1; b < blocks_; ++b)
            if (blockMax_[b] > blockMax_[bestBlock]) bestBlock = b;
        best = blockArg_[bestBlock];
    } else {
        best = start_;
        for (int bin = start_ + 1; bin < hi_; ++bin)
            if (copy_[bin] > copy_[best]) best = bin;
    }
    const int radius = std::max(width_ - 1, 0);
    const int from = std::max(best - radius, 0);
    const int to = std::min(best + radius, hi_ - 1);
    std::fill(copy_.begin() + from, copy_.begin() + to + 1, 0.0f);
    if (blocked_) {
        const int first = std::max(from - start_, 0) / kBlock;
        const int last = std::max(to - start_, 0) / kBlock;
        for (int b = first; b <= last && b < blocks_; ++b) ScanBlock(b);
    }
    return best;
}

int PeakSearch::Nth(int k) {
    int bin = -1;
    for (int round = 0; round < k; ++round) bin = Next();
    return bin;
}
