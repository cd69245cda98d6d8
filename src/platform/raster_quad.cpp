#include "platform/raster_quad.h"

#include <algorithm>
#include <cmath>

#include "platform/raster_pixel.h"
#include "platform/texel_footprint.h"

namespace plat {

namespace {

// The quad's corner (0..3: bit 0 right, bit 1 bottom) a vertex sits on, or -1.
int CornerOf(const ScreenVertex& v, float left, float top, float right, float bottom) {
    const int cx = v.x == left ? 0 : (v.x == right ? 1 : -1);
    const int cy = v.y == top ? 0 : (v.y == bottom ? 2 : -1);
    return (cx < 0 || cy < 0) ? -1 : cx | cy;
}

// The corner a triangle on three distinct corners leaves out, or -1.
int MissingCorner(const ScreenVertex t[3], float left, float top, float right, float bottom) {
    int seen = 0;
    for (int i = 0; i < 3; ++i) {
        const int c = CornerOf(t[i], left, top, right, bottom);
        if (c < 0 || (seen & (1 << c))) return -1;
        seen |= 1 << c;
    }
    for (int c = 0; c < 4; ++c)
        if (!(seen & (1 << c))) return c;
    return -1;
}

bool Culled(const ScreenVertex t[3], uint32_t cull) {
    const double area = (static_cast<double>(t[1].x) - t[0].x) * (static_cast<double>(t[2].y) - t[0].y) -
                        (static_cast<double>(t[1].y) - t[0].y) * (static_cast<double>(t[2].x) - t[0].x);
    return area == 0 || (cull == 3 && area < 0) || (cull == 2 && area > 0);
}

}  // namespace

bool Rasterizer::PairReplaces(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st, int x0, int y0,
                              int x1, int y1, TexelRect* must_be_opaque) {
    *must_be_opaque = TexelRect {};
    float left = a[0].x, right = a[0].x, top = a[0].y, bottom = a[0].y;
    for (const ScreenVertex* t : {a, b})
        for (int i = 0; i < 3; ++i) {
            left = std::min(left, t[i].x);
            right = std::max(right, t[i].x);
            top = std::min(top, t[i].y);
            bottom = std::max(bottom, t[i].y);
        }
    // Every pixel centre of the rectangle inside, with room for the snapping
    // of the vertices to 1/256 of a pixel.
    constexpr float kMargin = 1.0f / 64;
    if (!(left <= x0 - kMargin && right >= x1 - 1 + kMargin && top <= y0 - kMargin && bottom >= y1 - 1 + kMargin))
        return false;
    // Two halves of the quad on either side of one diagonal.
    const int ma = MissingCorner(a, left, top, right, bottom), mb = MissingCorner(b, left, top, right, bottom);
    if (ma < 0 || mb < 0 || (ma ^ mb) != 3) return false;
    if (Culled(a, st.cull) || Culled(b, st.cull)) return false;

    const bool replace = !st.blend || (st.src_blend == 2 && st.dest_blend == 1);
    if (replace) return true;
    if (!(st.src_blend == 5 && st.dest_blend == 6)) return false;
    // With an opaque diffuse colour and opaque texels every texture stage
    // operation gives an opaque alpha.
    for (const ScreenVertex* t : {a, b})
        for (int i = 0; i < 3; ++i)
            if ((t[i].color >> 24) != 0xFF) return false;
    const bool textured = st.texels && st.tex_width > 0 && st.tex_height > 0;
    if (!textured) return true;
    if (st.wrap_u || st.wrap_v) return false;

    // The texel coordinates over the rectangle, from the first half's corners
    // (the second half must map alike).
    const TexelFootprint footprint(a, st);
    if (!footprint.Known()) return false;
    for (int i = 0; i < 3; ++i)
        if (!(std::fabs(footprint.S(b[i].x, b[i].y) - b[i].u * st.tex_width) <= 1e-3 &&
              std::fabs(footprint.T(b[i].x, b[i].y) - b[i].v * st.tex_height) <= 1e-3))
            return false;
    return footprint.In(x0, y0, x1, y1, must_be_opaque);
}

namespace raster {

namespace {

// How far (in 1/65536 of a texel) a value may lie from a rounding boundary of
// ToFixed16 for the planes of both halves to round it alike, and how far the
// planes may drift from exact steps over the quad.
constexpr double kRoundingMargin = 1e-4, kDrift = 1e-6;

// Whether the pixels of v * 65536, rounded, are known whatever plane of the
// two gives them: well away from a rounding boundary and inside ToFixed16's range.
bool RoundsClearly(double v) {
    if (!(std::fabs(v) < 4.0e6)) return false;
    const double x = v * 65536.0;
    return std::fabs(x - std::floor(x) - 0.5) >= kRoundingMargin;
}

}  // namespace

bool QuadOf(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st, const Bounds& bounds,
            QuadRows* quad) {
    const uint32_t color = a[0].color;
    float left = a[0].x, right = a[0].x, top = a[0].y, bottom = a[0].y;
    for (const ScreenVertex* h : {a, b})
        for (int i = 0; i < 3; ++i) {
            if (h[i].color != color || !std::isfinite(h[i].x) || !std::isfinite(h[i].y)) return false;
            left = std::min(left, h[i].x);
            right = std::max(right, h[i].x);
            top = std::min(top, h[i].y);
            bottom = std::max(bottom, h[i].y);
        }
    // Each half on three corners (0..3: bit 0 right, bit 1 bottom), on
    // either side of one diagonal.
    int corner_of[2][3];
    const ScreenVertex* corner[4] = {};
    int seen[2] = {0, 0};
    const ScreenVertex* halves[2] = {a, b};
    for (int h = 0; h < 2; ++h)
        for (int i = 0; i < 3; ++i) {
            const int c = CornerOf(halves[h][i], left, top, right, bottom);
            if (c < 0 || (seen[h] & (1 << c))) return false;
            seen[h] |= 1 << c;
            corner_of[h][i] = c;
            corner[c] = &halves[h][i];
        }
    if ((seen[0] ^ seen[1]) != 0b1001 && (seen[0] ^ seen[1]) != 0b0110) return false;
    const int32_t corner_x[2] = {ToFixed8(left), ToFixed8(right)}, corner_y[2] = {ToFixed8(top), ToFixed8(bottom)};
    if (corner_x[0] == corner_x[1] || corner_y[0] == corner_y[1]) return false;
    for (int h = 0; h < 2; ++h) {
        int32_t X[3], Y[3];
        for (int i = 0; i < 3; ++i) {
            X[i] = corner_x[corner_of[h][i] & 1];
            Y[i] = corner_y[corner_of[h][i] >> 1];
        }
        const int64_t area =
            static_cast<int64_t>(X[1] - X[0]) * (Y[2] - Y[0]) - static_cast<int64_t>(Y[1] - Y[0]) * (X[2] - X[0]);
        if ((st.cull == 3 && area < 0) || (st.cull == 2 && area > 0)) return false;
    }
    // Left and top edges take the pixel centres on them, right and bottom ones don't.
    quad->x_begin = static_cast<int>(std::max<int64_t>(CeilDiv(corner_x[0], 256), std::max(0, bounds.col_begin)));
    quad->x_end = static_cast<int>(std::min<int64_t>(CeilDiv(corner_x[1], 256), std::min(bounds.width, bounds.col_end)));
    quad->y_begin = static_cast<int>(std::max<int64_t>(CeilDiv(corner_y[0], 256), std::max(0, bounds.row_begin)));
    quad->y_end = static_cast<int>(std::min<int64_t>(CeilDiv(corner_y[1], 256), std::min(bounds.height, bounds.row_end)));
    quad->color = color;
    quad->s = 0;
    if (!Textured(st) || quad->x_begin >= quad->x_end || quad->y_begin >= quad->y_end) return true;

    // The texel coordinates as one affine map of the corners (snapped as
    // drawing snaps them). Where the four corners fit one map, both halves'
    // planes are that map; where the fourth is off by e, they part by at
    // most e anywhere inside.
    const double columns = quad->x_end - quad->x_begin, rows = quad->y_end - quad->y_begin;
    const double x0 = corner_x[0] / 256.0, y0 = corner_y[0] / 256.0;
    const double per_x = 256.0 / (corner_x[1] - corner_x[0]), per_y = 256.0 / (corner_y[1] - corner_y[0]);
    auto affine = [&](double top_left, double top_right, double bottom_left, double bottom_right, double size,
                      Plane* p) {
        p->dx = (top_right - top_left) * size * per_x;
        p->dy = (bottom_left - top_left) * size * per_y;
        p->a0 = top_left * size - 0.5 - p->dx * x0 - p->dy * y0;
        return std::fabs((top_left + bottom_right - top_right - bottom_left) * size) * 65536.0 < kDrift;
    };
    Plane s, t;
    if (!affine(corner[0]->u, corner[1]->u, corner[2]->u, corner[3]->u, st.tex_width, &s) ||
        !affine(corner[0]->v, corner[1]->v, corner[2]->v, corner[3]->v, st.tex_height, &t))
        return false;
    const double ds = s.dx * 65536.0;
    if (std::fabs(ds - std::round(ds)) * columns >= kDrift || std::fabs(s.dy * 65536.0) * rows >= kDrift ||
        std::fabs(t.dx * 65536.0) * columns >= kDrift)
        return false;
    // Stepping by a whole 16.16 amount keeps the column's fraction, so one
    // check holds the whole row.
    if (!RoundsClearly(s.At(quad->x_begin, quad->y_begin))) return false;
    // Rows a whole 16.16 amount apart (texel rows one to a pixel) share it too.
    const double dt = t.dy * 65536.0;
    const int check_rows = std::fabs(dt - std::round(dt)) * rows < kDrift ? quad->y_begin + 1 : quad->y_end;
    for (int y = quad->y_begin; y < check_rows; ++y)
        if (!RoundsClearly(t.At(quad->x_begin, y))) return false;
    quad->s = ToFixed16(s.At(quad->x_begin, quad->y_begin));
    quad->s_plane = s;
    quad->t_plane = t;
    return true;
}

}  // namespace raster

}  // namespace plat
