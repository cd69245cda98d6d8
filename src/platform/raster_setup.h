#pragma once
// A triangle's set-up for the rasteriser: its vertices snapped to 1/256 of a
// pixel, its edges with the top-left rule and their bounds walked row by row,
// the planes of its attributes, and the fixed-point values its spans step by.
#include <algorithm>
#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/rasterizer.h"

namespace plat::raster {

inline int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

struct Plane {
    double a0 = 0, dx = 0, dy = 0;  // value at (0, 0) and gradients
    double At(double x, double y) const { return a0 + dx * x + dy * y; }
};

inline Plane MakePlane(const double x[3], const double y[3], double v0, double v1, double v2, double det) {
    Plane p;
    p.dx = ((v1 - v0) * (y[2] - y[0]) - (v2 - v0) * (y[1] - y[0])) / det;
    p.dy = ((v2 - v0) * (x[1] - x[0]) - (v1 - v0) * (x[2] - x[0])) / det;
    p.a0 = v0 - p.dx * x[0] - p.dy * y[0];
    return p;
}

struct Edge {
    int64_t dx, dy, xa, ya;
    int64_t threshold;  // 0 for top and left edges (their centres count), 1 otherwise
};

// The span bound an edge sets on each row: for a left edge (dy < 0) the first
// pixel centre inside, ceil((threshold - k) / (-dy * 256)); for a right edge
// (dy > 0) the last, floor((k - threshold) / (dy * 256)); where
// k = dx * (y * 256 - ya) + dy * xa grows by dx * 256 per row. The quotient is
// carried from row to row with its remainder, so it stays exact.
struct EdgeWalk {
    int64_t q = 0, r = 0, d = 1, step_q = 0, step_r = 0;

    void Start(const Edge& e, int y) {
        if (e.dy == 0) return;
        const int64_t k = e.dx * (static_cast<int64_t>(y) * 256 - e.ya) + e.dy * e.xa;
        int64_t n, step;
        if (e.dy < 0) {
            d = -e.dy * 256;
            n = e.threshold - k + d - 1;  // ceil(a / d) == floor((a + d - 1) / d)
            step = -e.dx * 256;
        } else {
            d = e.dy * 256;
            n = k - e.threshold;
            step = e.dx * 256;
        }
        q = FloorDiv(n, d);
        r = n - q * d;
        step_q = FloorDiv(step, d);
        step_r = step - step_q * d;
    }
    void Next() {
        // Without a branch: the carry follows no pattern a predictor learns.
        const int64_t carry = (r += step_r) >= d;
        q += step_q + carry;
        r -= d & -carry;
    }
};

// std::llrint, rounding to nearest even, without the library call: every row
// of every triangle converts its attributes. (Values are held in range, so
// the conversion never overflows.)
inline int64_t RoundToInt(double v) {
#if defined(__SSE2__) && defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(v));
#else
    return std::llrint(v);
#endif
}

// Positions are held within a million pixels of the screen, so the edge
// products below stay inside 64 bits.
inline int32_t ToFixed8(double v) {
    v = std::clamp(v, -1.0e6, 1.0e6);
    return static_cast<int32_t>(RoundToInt(v * 256.0));
}

// 16.16 fixed point, kept within a range where stepping across a row cannot overflow.
inline int64_t ToFixed16(double v) { return RoundToInt(std::clamp(v, -4.0e6, 4.0e6) * 65536.0); }

// From 16.16 to the sampler's 24.8, rounded, so that values a hair off a texel
// centre still land on it. Called for every sampled pixel: the compiler is
// told to inline it, which it no longer chose to do for a header function.
__attribute__((always_inline)) inline int32_t To24_8(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>((v + 128) >> 8, -(1 << 30), 1 << 30)); }

// A triangle set up for filling, within the bounds it is drawn into.
struct Setup {
    Edge edges[3];
    int y_begin, y_end;  // rows [y_begin, y_end)
    int x_begin, x_end;  // columns [x_begin, x_end)
    Plane s, t;          // texel-centre coordinates
    Plane r, g, b, a;
    bool uniform_color;
    uint32_t color;
};

// The part of the target a rasteriser draws into.
struct Bounds {
    int width, height;
    int row_begin, row_end, col_begin, col_end;
};

// A triangle's edges and attribute planes; false when it is culled or covers
// no pixel centre of the bounds.
bool Prepare(const ScreenVertex& va, const ScreenVertex& vb, const ScreenVertex& vc, const RasterState& st,
             const Bounds& bounds, Setup* su);

}  // namespace plat::raster
