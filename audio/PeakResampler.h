#pragma once

#include <vector>

// Folds interleaved stereo to mono keeping, per frame, the sample of larger magnitude (the
// right one on a tie), so click peaks survive.
std::vector<float> FoldStereoKeepingPeaks(const std::vector<float>& interleaved);

// Maps `source` onto `destination` (already sized and zero-filled) without filtering: where
// several source samples land on one destination sample the strongest wins; where stretching
// leaves gaps they are filled by straight lines (interpolate) or by repeating the next value.
void PeakKeepingResample(const std::vector<float>& source, std::vector<float>& destination,
                         bool interpolate);
