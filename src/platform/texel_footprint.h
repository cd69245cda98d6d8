#pragma once
// The texels a triangle drawn with a raster state may sample, asked for one
// rectangle of pixels after another (the tiles it may touch): the texel
// coordinates at the rectangle's corners, a texel more for the filter and a
// pixel's worth more for the snapping of the vertices, clamped to the texture
// (whose edge texels stand in for coordinates beyond it).
#include "platform/rasterizer.h"

namespace plat {

class TexelFootprint {
public:
    TexelFootprint(const ScreenVertex tri[3], const RasterState& st);
    // False when it cannot be told: no texture, wrapped addressing, corners
    // not finite or on one line.
    bool Known() const { return _known; }
    // Texel coordinates (in texels from the texture's corner) at a point.
    double S(double x, double y) const { return _s[0] + _s[1] * x + _s[2] * y; }
    double T(double x, double y) const { return _t[0] + _t[1] * x + _t[2] * y; }
    // The texels sampled for the triangle's pixels in columns [x0, x1) and
    // rows [y0, y1) (empty when it has none there); false when not known.
    bool In(int x0, int y0, int x1, int y1, Rasterizer::TexelRect* rect) const;

private:
    bool _known = false;
    int _left = 0, _top = 0, _right = 0, _bottom = 0;  // the pixels it may touch, [left, right) x [top, bottom)
    double _s[3] = {}, _t[3] = {};                     // value at (0, 0), per column, per row
    int _tex_width = 0, _tex_height = 0;
};

}  // namespace plat
