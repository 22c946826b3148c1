#pragma once

#include <cstdint>
#include <vector>

#include "platform/HostWindow.h"

namespace Platform {

// The rows of a picture cut into one-pixel-high runs of pixels whose alpha is at least
// `cutoff`, top to bottom: the outline of a shaped window.
std::vector<HostRect> ShapeRuns(const std::uint32_t* pixels, int width, int height, int stride,
                                int cutoff);

// A premultiplied ARGB picture with straight alpha, packed without row padding: what SDL wants
// of an icon.
std::vector<std::uint32_t> StraightAlpha(const std::uint32_t* pixels, int width, int height,
                                         int stride);

}  // namespace Platform
