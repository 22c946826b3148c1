#include "platform/Pixels.h"

#include <algorithm>

namespace Platform {

std::vector<HostRect> ShapeRuns(const std::uint32_t* pixels, int width, int height, int stride,
                                int cutoff) {
    std::vector<HostRect> runs;
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(bytes + static_cast<std::size_t>(y) * stride);
        int x = 0;
        while (x < width) {
            while (x < width && static_cast<int>(row[x] >> 24) < cutoff) ++x;
            int start = x;
            while (x < width && static_cast<int>(row[x] >> 24) >= cutoff) ++x;
            if (x > start) runs.push_back(HostRect{start, y, x - start, 1});
        }
    }
    return runs;
}

std::vector<std::uint32_t> StraightAlpha(const std::uint32_t* pixels, int width, int height,
                                         int stride) {
    std::vector<std::uint32_t> straight(static_cast<std::size_t>(width) * height);
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(bytes + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = row[x], a = p >> 24;
            auto channel = [a](std::uint32_t c) { return a ? std::min(255u, c * 255 / a) : 0u; };
            straight[static_cast<std::size_t>(y) * width + x] =
                a << 24 | channel(p >> 16 & 0xFF) << 16 | channel(p >> 8 & 0xFF) << 8 |
                channel(p & 0xFF);
        }
    }
    return straight;
}

}  // namespace Platform
