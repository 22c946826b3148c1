#pragma once

#include <cstdint>

#include "pym/gfx/DrawContext.h"

namespace Pym::Gfx {

// An 8-bit coverage mask of a wide polyline, computed pixel by pixel from the distance of each
// pixel's centre to the nearest segment: within half the width less half a pixel a pixel is
// covered whole, and coverage falls to nothing over the next pixel, so the line's edges are
// smooth and its joins and ends round. A trace of one point per pixel column, as a waveform
// is drawn, costs a few pixels a point here, where a general stroker builds and fills an
// outline of every segment.
struct CoverageMask {
    std::uint8_t* pixels = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
    // Where the mask's pixel (0, 0) lies in the points' coordinates; pixel (c, r) has its
    // centre at (left + c + 0.5, top + r + 0.5).
    int left = 0;
    int top = 0;
};

// Pixels visited by `AddPolyline` for these points: a caller bounds its work with it.
double PolylineCost(const Point* points, int count, float width, const CoverageMask& mask);

// Raises the mask to the polyline's coverage wherever it is higher (already covered pixels
// stay covered). Points that are not finite end the line there.
void AddPolyline(const Point* points, int count, float width, CoverageMask& mask);

}  // namespace Pym::Gfx
