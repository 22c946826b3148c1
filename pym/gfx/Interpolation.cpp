#include "pym/gfx/Interpolation.h"

#include <array>
#include <utility>

namespace Pym::Gfx {

namespace {
constexpr std::array<std::pair<const char*, Interpolation>, 8> kNames = {{
    {"Default", InterpolationDefault},
    {"LowQuality", InterpolationLowQuality},
    {"HighQuality", InterpolationHighQuality},
    {"Bilinear", InterpolationBilinear},
    {"Bicubic", InterpolationBicubic},
    {"NearestNeighbor", InterpolationNearestNeighbor},
    {"HighQualityBilinear", InterpolationHighQualityBilinear},
    {"HighQualityBicubic", InterpolationHighQualityBicubic},
}};
}  // namespace

Interpolation ParseInterpolation(const std::string& name, Interpolation fallback) {
    for (const auto& [text, mode] : kNames)
        if (name == text) return mode;
    return fallback;
}

cairo_filter_t CairoFilter(int interpolation) {
    switch (interpolation) {
        case InterpolationLowQuality:
            return CAIRO_FILTER_FAST;
        case InterpolationBilinear:
            return CAIRO_FILTER_BILINEAR;
        case InterpolationNearestNeighbor:
            return CAIRO_FILTER_NEAREST;
        case InterpolationHighQualityBilinear:
            return CAIRO_FILTER_GOOD;
        case InterpolationHighQuality:
        case InterpolationBicubic:
        case InterpolationHighQualityBicubic:
            return CAIRO_FILTER_BEST;
        default:
            return CAIRO_FILTER_GOOD;
    }
}

}  // namespace Pym::Gfx
