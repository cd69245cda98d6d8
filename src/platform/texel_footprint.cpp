#include "platform/texel_footprint.h"

#include <algorithm>
#include <cmath>

namespace plat {

TexelFootprint::TexelFootprint(const ScreenVertex tri[3], const RasterState& st)
    : _tex_width(st.tex_width), _tex_height(st.tex_height) {
    if (!st.texels || st.tex_width <= 0 || st.tex_height <= 0 || st.wrap_u || st.wrap_v) return;
    double x[3], y[3];
    float left = tri[0].x, right = tri[0].x, top = tri[0].y, bottom = tri[0].y;
    for (int i = 0; i < 3; ++i) {
        x[i] = tri[i].x;
        y[i] = tri[i].y;
        left = std::min(left, tri[i].x);
        right = std::max(right, tri[i].x);
        top = std::min(top, tri[i].y);
        bottom = std::max(bottom, tri[i].y);
    }
    if (!(std::isfinite(left) && std::isfinite(right) && std::isfinite(top) && std::isfinite(bottom))) return;
    const double det = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    if (det == 0 || !std::isfinite(det)) return;
    // A pixel more on every side for the snapping of the vertices.
    _left = static_cast<int>(std::max(std::floor(left), -1.0e6f)) - 1;
    _right = static_cast<int>(std::min(std::ceil(right), 1.0e6f)) + 2;
    _top = static_cast<int>(std::max(std::floor(top), -1.0e6f)) - 1;
    _bottom = static_cast<int>(std::min(std::ceil(bottom), 1.0e6f)) + 2;
    auto plane = [&](double v0, double v1, double v2, double out[3]) {
        out[1] = ((v1 - v0) * (y[2] - y[0]) - (v2 - v0) * (y[1] - y[0])) / det;
        out[2] = ((v2 - v0) * (x[1] - x[0]) - (v1 - v0) * (x[2] - x[0])) / det;
        out[0] = v0 - out[1] * x[0] - out[2] * y[0];
    };
    plane(tri[0].u * st.tex_width, tri[1].u * st.tex_width, tri[2].u * st.tex_width, _s);
    plane(tri[0].v * st.tex_height, tri[1].v * st.tex_height, tri[2].v * st.tex_height, _t);
    _known = true;
}

bool TexelFootprint::In(int x0, int y0, int x1, int y1, Rasterizer::TexelRect* rect) const {
    *rect = Rasterizer::TexelRect {};
    if (!_known) return false;
    x0 = std::max(x0, _left);
    x1 = std::min(x1, _right);
    y0 = std::max(y0, _top);
    y1 = std::min(y1, _bottom);
    if (x0 >= x1 || y0 >= y1) return true;  // no pixel: nothing sampled
    // Affine: the extremes lie at the rectangle's corners.
    const double w = x1 - 1 - x0, h = y1 - 1 - y0;
    const double s0 = S(x0, y0), t0 = T(x0, y0);
    const double s_lo = s0 + std::min(0.0, _s[1] * w) + std::min(0.0, _s[2] * h);
    const double s_hi = s0 + std::max(0.0, _s[1] * w) + std::max(0.0, _s[2] * h);
    const double t_lo = t0 + std::min(0.0, _t[1] * w) + std::min(0.0, _t[2] * h);
    const double t_hi = t0 + std::max(0.0, _t[1] * w) + std::max(0.0, _t[2] * h);
    if (!std::isfinite(s_lo + s_hi + t_lo + t_hi)) return false;
    const double s_more = std::fabs(_s[1]) + std::fabs(_s[2]), t_more = std::fabs(_t[1]) + std::fabs(_t[2]);
    auto texel = [](double v, int size) { return static_cast<int>(std::clamp(v, 0.0, size - 1.0)); };
    rect->s0 = texel(std::floor(s_lo - s_more) - 2, _tex_width);
    rect->s1 = texel(std::ceil(s_hi + s_more) + 1, _tex_width);
    rect->t0 = texel(std::floor(t_lo - t_more) - 2, _tex_height);
    rect->t1 = texel(std::ceil(t_hi + t_more) + 1, _tex_height);
    return true;
}

}  // namespace plat
