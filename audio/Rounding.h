#pragma once

// Rounds half away from zero: the one rounding rule of every sample count in the program.
inline long long Nearest(long double x) {
    return static_cast<long long>(x >= 0 ? x + 0.5L : x - 0.5L);
}
