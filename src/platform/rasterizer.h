#pragma once
// The render device's triangle rasteriser: fills 32-bit ARGB pixels of a
// target from screen-space triangles, the way a Direct3D 8 device does with the
// states the game uses. Pixel centres lie at integer coordinates, edges follow
// the top-left rule (vertices snapped to 1/256 pixel), attributes are
// interpolated linearly in screen space, textures are sampled at texel centres
// ((u * width - 0.5), bilinear or nearest, clamped or wrapped), the texture
// stage combines texture and vertex colour, and the result is blended into the
// target with the source and destination factors.
#include <cstdint>

namespace plat {

struct ScreenVertex {
    float x, y;       // pixels, centres at integers
    uint32_t color;   // ARGB
    float u, v;
};

struct RasterState {
    const uint32_t* texels = nullptr;  // ARGB, tex_width x tex_height; null: no texture
    int tex_width = 0, tex_height = 0;
    bool linear = true;
    bool wrap_u = false, wrap_v = false;
    uint32_t color_op = 4, color_arg1 = 2, color_arg2 = 0;  // modulate texture, diffuse
    uint32_t alpha_op = 2, alpha_arg1 = 2, alpha_arg2 = 0;  // select texture
    bool blend = false;
    uint32_t src_blend = 2, dest_blend = 1;                 // one, zero
    uint32_t cull = 3;                                      // counter-clockwise culled
    bool operator==(const RasterState&) const = default;
};

class Rasterizer {
public:
    Rasterizer(uint32_t* target, int width, int height)
        : _target(target), _width(width), _height(height), _row_begin(0), _row_end(height) {}
    // Draws only into rows [row_begin, row_end) (a band of the target). Every
    // row's pixels come out as when the whole triangle is drawn: the edges'
    // bounds and the attributes at a row's first pixel are computed exactly
    // from the row's number, not carried over from the rows above.
    Rasterizer(uint32_t* target, int width, int height, int row_begin, int row_end)
        : _target(target), _width(width), _height(height), _row_begin(row_begin), _row_end(row_end) {}
    // Draws only into the rectangle of columns [col_begin, col_end) and rows
    // [row_begin, row_end) (a tile of the target), the pixels again as when the
    // whole triangle is drawn: a span cut on the left takes the attributes its
    // first pixel would have reached by stepping from the span's start.
    Rasterizer(uint32_t* target, int width, int height, int row_begin, int row_end, int col_begin, int col_end)
        : _target(target), _width(width), _height(height), _row_begin(row_begin), _row_end(row_end),
          _col_begin(col_begin), _col_end(col_end) {}
    // Draws one triangle; false when it was culled or covers no pixel centre
    // (of the band).
    bool Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const RasterState& st);
    // Draws triangle `a` and then triangle `b` (the pixels as when drawn one
    // after the other); the two halves of a quad go row by row as one.
    void Pair(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st);

    // Texels in columns [s0, s1] and rows [t0, t1] (empty when s0 > s1).
    struct TexelRect {
        int s0 = 1, t0 = 1, s1 = 0, t1 = 0;
        bool Empty() const { return s0 > s1 || t0 > t1; }
        bool operator==(const TexelRect&) const = default;
    };

    // True when triangles `a` and `b`, drawn with `st`, together write every
    // pixel of the rectangle of columns [x0, x1) and rows [y0, y1) with a value
    // that does not depend on what the pixel held, provided the texels in
    // `*must_be_opaque` (if any) are all opaque: an axis-aligned quad over the
    // whole rectangle, neither half culled, drawn without blending, or
    // alpha-blended with an opaque colour and opaque texels wherever the
    // rectangle may sample them. Whatever was drawn there before is hidden.
    static bool PairReplaces(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st, int x0, int y0,
                             int x1, int y1, TexelRect* must_be_opaque);

    // True when drawing with `st` leaves every pixel as it was whose sampled
    // texels all have an alpha of 0.
    static bool ClearTexelsLeavePixels(const RasterState& st);


private:
    uint32_t* _target;
    int _width, _height;
    int _row_begin, _row_end;
    int _col_begin = 0, _col_end = INT32_MAX;
};

}  // namespace plat
