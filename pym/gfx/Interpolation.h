#pragma once

#include <cairo.h>

#include <string>

namespace Pym::Gfx {

// Interpolation modes as skins name them ("InterpMode"), numbered as they are stored.
enum Interpolation : int {
    InterpolationDefault = 0,
    InterpolationLowQuality = 1,
    InterpolationHighQuality = 2,
    InterpolationBilinear = 3,
    InterpolationBicubic = 4,
    InterpolationNearestNeighbor = 5,
    InterpolationHighQualityBilinear = 6,
    InterpolationHighQualityBicubic = 7,
};

// The mode a skin names, or `fallback` for a name that is not a mode.
Interpolation ParseInterpolation(const std::string& name, Interpolation fallback);

cairo_filter_t CairoFilter(int interpolation);

}  // namespace Pym::Gfx
