#pragma once
// The rasteriser's busiest span loops eight pixels at a time in 256-bit lanes,
// for processors that have AVX2: sprites placed texel for texel, layers moved
// by a fraction of a pixel, rows stretched along their length and sprites
// turned or scaled, filtered, clamped and of one colour (modulated by it, and
// drawn opaque, alpha-blended or added). The arithmetic is the 16-bit lane
// arithmetic of the narrow loops, so every pixel is the same to the bit. Each
// call fills the span from `px` as far as the texels it may read reach, the
// last few pixels through masked loads and stores, and returns where it
// stopped; the caller's own loops do the rest.
#include <cstdint>

namespace plat::wide {

enum class Blend { kOpaque, kAlpha, kAdditive };

// The processor has the lanes and they are switched on.
bool Enabled();
// Switches the wide loops off or back on (where the processor has them), so
// that tests can hold both against the narrow ones; returns the old setting.
bool SetEnabled(bool on);

// Texel for texel: pixels px..xr of `row` from texels tx.. of `texrow`, as
// far as tx < tex_w (tx >= 0). Advances tx alike.
int64_t TexelRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* texrow, int* tx, int tex_w,
                 bool white, uint32_t color);

// A layer moved by (fx, fy)/256 of a texel: pixel px takes texels x and x + 1
// of rows r0 and r1 (r1 unused when fy is 0), for pixels up to xr as far as
// x + 1 < tex_w (x >= 0). Advances x alike.
int64_t ScrolledRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* r0, const uint32_t* r1, int* x,
                    int tex_w, int fx, int fy, bool white, uint32_t color);

// Stretched along the row: pixel px + i sits at s + i * ds (16.16, texel
// centres) and takes texels (s' + 128) >> 16 and the one after, weighed by
// bits 8..15 of s' + 128, of rows r0 and r1 (r1 unused when fy is 0) of
// tex_w texels, at most 65536. Every pixel's two texels up to xr must lie
// inside the rows. Fills the whole span.
int64_t StretchedRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* r0, const uint32_t* r1,
                     int tex_w, int64_t s, int64_t ds, int fy, bool white, uint32_t color);

// Filtered and clamped, scaled or turned: pixel px + i samples the w x h
// texels at (s + i * ds, t + i * dt) (16.16, texel centres) as the narrow
// loops' clamped bilinear sampler does. Fills the whole span, or nothing
// (returns px) for textures narrower or lower than two texels or of 2^31
// texels and more, and for positions 32768 texels or more off the texture.
int64_t FilteredRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* texels, int w, int h,
                    int64_t s, int64_t ds, int64_t t, int64_t dt, bool white, uint32_t color);

}  // namespace plat::wide
