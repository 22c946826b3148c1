#pragma once

#include <vector>

// The spectral shapes that the frequency interpolation matches against. Row t (of `rows`)
// holds the magnitudes at bins -4 ... 4 of the N-point DFT of the windowed complex tone that
// lies t / rows of a bin above bin 0, unnormalised.
class TemplateTable {
public:
    static constexpr int kWidth = 9;
    static constexpr int kHalfWidth = 4;

    TemplateTable() = default;
    // An empty window means an unweighted frame. The window must be symmetric (all of ours
    // are): the DFT's magnitude then reduces to a real cosine sum about the window's centre.
    TemplateTable(const std::vector<float>& window, int frameSize, int rows);

    int Rows() const { return rows_; }
    bool Empty() const { return rows_ == 0; }
    float Value(int t, int j) const { return values_[Index(t, j)]; }

    // The row whose dot product with the nine values is highest (the first on ties).
    int BestMatch(const float* nine) const;

private:
    // Stored bin by bin, so that scoring runs over neighbouring rows.
    std::size_t Index(int t, int j) const {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(rows_) +
               static_cast<std::size_t>(t);
    }

    int rows_ = 0;
    std::vector<float> values_;
};
