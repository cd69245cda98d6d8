#pragma once
// Axis-aligned quads drawn as two triangles: whether two triangles make one,
// placed so that its rows need no walking of its edges (their values known
// from its corners), and whether one hides a rectangle of the target.
#include <cstdint>

#include "platform/raster_setup.h"
#include "platform/rasterizer.h"

namespace plat::raster {

// An axis-aligned quad whose pixels' values are known without walking its
// halves' edges: together the halves cover the rectangle (the shared diagonal
// gives each pixel to one of them), and every value rounds alike whichever
// half's plane gives it and wherever along its row the half's span starts.
struct QuadRows {
    int x_begin = 0, x_end = 0, y_begin = 0, y_end = 0;  // the pixels [x_begin, x_end) x [y_begin, y_end)
    uint32_t color = 0;
    int64_t s = 0;   // 16.16 at x_begin (the same on every row)
    Plane s_plane, t_plane;  // t: one value a row
};

// Whether `a` and `b` are the halves of an axis-aligned quad, neither culled,
// drawn in one colour, whose texel columns step by an exact 16.16 amount and
// whose rows each sit on one texel row value; if so, its pixels in the bounds.
bool QuadOf(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st, const Bounds& bounds,
            QuadRows* quad);

}  // namespace plat::raster
