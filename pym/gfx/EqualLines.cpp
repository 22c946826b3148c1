#include "pym/gfx/EqualLines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Pym::Gfx {

namespace {

const std::uint32_t* Row(cairo_surface_t* surface, int y) {
    return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                  y * cairo_image_surface_get_stride(surface));
}

// The longest run of consecutive lines among `count` for which `same(i)` says line i equals
// line i + 1.
template <typename Same>
LineRun LongestRun(int count, Same same) {
    LineRun best, current;
    for (int i = 0; i + 1 < count; ++i) {
        if (same(i)) {
            if (current.extra == 0) current.at = i;
            ++current.extra;
            if (current.extra > best.extra) best = current;
        } else {
            current.extra = 0;
        }
    }
    return best;
}

}  // namespace

LineRun LongestEqualRows(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const std::size_t bytes = cairo_image_surface_get_width(surface) * sizeof(std::uint32_t);
    return LongestRun(cairo_image_surface_get_height(surface), [&](int y) {
        return std::memcmp(Row(surface, y), Row(surface, y + 1), bytes) == 0;
    });
}

LineRun LongestEqualColumns(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    // Row by row, as the pixels lie in memory.
    std::vector<char> same(std::max(width - 1, 0), 1);
    for (int y = 0; y < cairo_image_surface_get_height(surface); ++y) {
        const std::uint32_t* row = Row(surface, y);
        for (int x = 0; x + 1 < width; ++x) same[x] &= row[x] == row[x + 1];
    }
    return LongestRun(width, [&](int x) { return same[x] != 0; });
}

cairo_surface_t* WithoutRepeats(cairo_surface_t* surface, const LineRun& rows,
                                const LineRun& columns) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface) - columns.extra;
    const int height = cairo_image_surface_get_height(surface) - rows.extra;
    cairo_surface_t* kept = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    unsigned char* data = cairo_image_surface_get_data(kept);
    const int stride = cairo_image_surface_get_stride(kept);
    const int rightStart = columns.at + 1;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* from = Row(surface, y <= rows.at ? y : y + rows.extra);
        auto* to = reinterpret_cast<std::uint32_t*>(data + y * stride);
        std::memcpy(to, from, rightStart * sizeof(std::uint32_t));
        std::memcpy(to + rightStart, from + rightStart + columns.extra,
                    (width - rightStart) * sizeof(std::uint32_t));
    }
    cairo_surface_mark_dirty(kept);
    return kept;
}

}  // namespace Pym::Gfx
