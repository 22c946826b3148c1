#pragma once

#include "pym/core/GridVal.h"

namespace Pym::GridPlacement {

// A layout length against a container extent, in single precision as placement uses it.
inline float Resolve(const GridVal& value, int extent) {
    return static_cast<float>(extent) * value.percentage + value.units;
}

// To the nearest pixel, halves away from zero: 100.5 → 101, −0.5 → −1.
inline int Nearest(float value) {
    return static_cast<int>(value >= 0.0f ? value + 0.5f : value - 0.5f);
}

// The same length in extended precision, truncated toward zero.
inline int Truncated(const GridVal& value, int extent) {
    return static_cast<int>(static_cast<long double>(extent) * value.percentage + value.units);
}

}  // namespace Pym::GridPlacement
