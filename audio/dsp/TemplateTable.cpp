#include "audio/dsp/TemplateTable.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TemplateTable::TemplateTable(const std::vector<float>& window, int n, int rows) {
    if (n < 1 || rows < 1) return;
    std::vector<double> weights(static_cast<std::size_t>(n), 1.0);
    if (static_cast<int>(window.size()) == n)
        for (int k = 0; k < n; ++k) weights[k] = window[k];

    rows_ = rows;
    values_.resize(static_cast<std::size_t>(rows) * kWidth);
    const double centre = (n - 1) / 2.0;
    const int pairs = n / 2;
    for (int t = 0; t < rows; ++t) {
        for (int j = 0; j < kWidth; ++j) {
            // Sum of w[k] cos(theta (k - centre)) over mirrored pairs, by the cosine recurrence
            // from the two innermost samples outwards.
            const double theta =
                2.0 * std::numbers::pi * (static_cast<double>(t) / rows - (j - kHalfWidth)) / n;
            const double step = 2.0 * std::cos(theta);
            double sum = n % 2 == 1 ? weights[n / 2] : 0.0;  // an odd length's middle sample
            int k = (n + 1) / 2;                             // first sample right of the centre
            double offset = k - centre;
            double previous = std::cos(theta * (offset - 1.0));
            double current = std::cos(theta * offset);
            for (int i = 0; i < pairs; ++i, ++k) {
                sum += (weights[k] + weights[n - 1 - k]) * current;
                double next = step * current - previous;
                previous = current;
                current = next;
            }
            values_[Index(t, j)] = static_cast<float>(std::fabs(sum));
        }
    }
}

int TemplateTable::BestMatch(const float* nine) const {
    // Scores a block of rows at a time, each summed over the nine bins in order.
    constexpr int kBlock = 64;
    int best = 0;
    float bestScore = 0.0f;
    for (int first = 0; first < rows_; first += kBlock) {
        const int count = std::min(kBlock, rows_ - first);
        float scores[kBlock] = {};
        for (int j = 0; j < kWidth; ++j) {
            const float* column = &values_[Index(first, j)];
            for (int t = 0; t < count; ++t) scores[t] += nine[j] * column[t];
        }
        for (int t = 0; t < count; ++t) {
            if ((first == 0 && t == 0) || scores[t] > bestScore) {
                best = first + t;
                bestScore = scores[t];
            }
        }
    }
    return best;
}
