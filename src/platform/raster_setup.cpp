#include "platform/raster_setup.h"

#include "platform/raster_pixel.h"

namespace plat::raster {

bool Prepare(const ScreenVertex& va, const ScreenVertex& vb, const ScreenVertex& vc, const RasterState& st,
             const Bounds& bounds, Setup* su) {
    const ScreenVertex* v[3] = {&va, &vb, &vc};
    int32_t X[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(v[i]->x) || !std::isfinite(v[i]->y)) return false;
        X[i] = ToFixed8(v[i]->x);
        Y[i] = ToFixed8(v[i]->y);
    }
    // Positive area: clockwise on the screen (y grows downwards).
    int64_t area = static_cast<int64_t>(X[1] - X[0]) * (Y[2] - Y[0]) - static_cast<int64_t>(Y[1] - Y[0]) * (X[2] - X[0]);
    if (area == 0) return false;
    if (st.cull == 3 && area < 0) return false;
    if (st.cull == 2 && area > 0) return false;
    if (area < 0) {
        std::swap(v[1], v[2]);
        std::swap(X[1], X[2]);
        std::swap(Y[1], Y[2]);
    }

    int64_t min_y = std::min({Y[0], Y[1], Y[2]}), max_y = std::max({Y[0], Y[1], Y[2]});
    su->y_begin = static_cast<int>(std::max<int64_t>(std::max(0, bounds.row_begin), CeilDiv(min_y, 256)));
    su->y_end = static_cast<int>(std::min<int64_t>(std::min(bounds.height, bounds.row_end), FloorDiv(max_y, 256) + 1));
    if (su->y_begin >= su->y_end) return false;
    su->x_begin = std::max(0, bounds.col_begin);
    su->x_end = std::min(bounds.width, bounds.col_end);
    if (su->x_begin >= su->x_end) return false;
    for (int i = 0; i < 3; ++i) {
        int a = (i + 1) % 3, b = (i + 2) % 3;  // the edge opposite vertex i, in winding order
        Edge& e = su->edges[i];
        e.dx = X[b] - X[a];
        e.dy = Y[b] - Y[a];
        e.xa = X[a];
        e.ya = Y[a];
        bool top_left = e.dy < 0 || (e.dy == 0 && e.dx > 0);
        e.threshold = top_left ? 0 : 1;
    }

    double x[3], y[3];
    for (int i = 0; i < 3; ++i) {
        x[i] = X[i] / 256.0;
        y[i] = Y[i] / 256.0;
    }
    double det = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
    su->uniform_color = v[0]->color == v[1]->color && v[1]->color == v[2]->color;
    su->color = v[0]->color;
    if (!su->uniform_color) {
        auto plane = [&](int shift) {
            return MakePlane(x, y, Channel(v[0]->color, shift), Channel(v[1]->color, shift), Channel(v[2]->color, shift), det);
        };
        su->a = plane(24);
        su->r = plane(16);
        su->g = plane(8);
        su->b = plane(0);
    }
    const bool textured = Textured(st);
    if (textured) {
        su->s = MakePlane(x, y, v[0]->u * st.tex_width - 0.5, v[1]->u * st.tex_width - 0.5,
                         v[2]->u * st.tex_width - 0.5, det);
        su->t = MakePlane(x, y, v[0]->v * st.tex_height - 0.5, v[1]->v * st.tex_height - 0.5,
                         v[2]->v * st.tex_height - 0.5, det);
    }

    return true;
}

}  // namespace plat::raster
