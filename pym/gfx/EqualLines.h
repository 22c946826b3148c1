#pragma once

#include <cairo.h>

namespace Pym::Gfx {

// A run of equal pixel lines in a picture: line `at` and the `extra` lines after it are the
// same, so the picture keeps line `at` once and draws it extra + 1 times.
struct LineRun {
    int at = 0;
    int extra = 0;
};

// The longest run of equal whole rows, and of equal whole columns, of an ARGB32 surface.
LineRun LongestEqualRows(cairo_surface_t* surface);
LineRun LongestEqualColumns(cairo_surface_t* surface);

// A copy of the surface without the repeated lines of the runs (each run keeps its first
// line).
cairo_surface_t* WithoutRepeats(cairo_surface_t* surface, const LineRun& rows,
                                const LineRun& columns);

}  // namespace Pym::Gfx
