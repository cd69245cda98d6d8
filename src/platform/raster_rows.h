#pragma once
// The rows of what the rasteriser fills: a triangle's, two triangles' in turn
// (the halves of a quad filled as one where they meet), and a quad's whose
// values are known from its corners; each for the blend the state asks for.
#include <algorithm>
#include <cstdint>

#include "platform/raster_pixel.h"
#include "platform/raster_quad.h"
#include "platform/raster_setup.h"
#include "platform/raster_span.h"

namespace plat::raster {

// A triangle's spans, row after row.
template <bool Textured>
class RowWalker {
public:
    RowWalker(const Setup& su, const SpanFill& f, int width) : _su(su), _f(f), _width(width) {
        // Each sloped edge bounds the span on one side; its bound is walked from
        // row to row instead of divided out anew.
        for (int i = 0; i < 3; ++i) _walks[i].Start(su.edges[i], su.y_begin);
    }
    // Row `py` (each row of the triangle's in turn); false when it has no pixel.
    __attribute__((always_inline)) inline bool Row(int py, Span* out) {
        int64_t xl = 0, xr = _width - 1;
        bool empty = false;
        for (int i = 0; i < 3; ++i) {
            const Edge& e = _su.edges[i];
            if (e.dy < 0) {
                xl = std::max(xl, _walks[i].q);
            } else if (e.dy > 0) {
                xr = std::min(xr, _walks[i].q);
            } else if (e.dx * (static_cast<int64_t>(py) * 256 - e.ya) < e.threshold) {
                empty = true;
            }
            _walks[i].Next();
        }
        if (empty || xl > xr) return false;
        // The attributes start at the span's own first pixel; a span cut to
        // the tile steps them on to the tile's edge, as the pixels between
        // would have.
        const double fx = static_cast<double>(xl);
        const int64_t cut = std::max<int64_t>(0, _su.x_begin - xl);
        out->xl = xl + cut;
        out->xr = std::min<int64_t>(xr, _su.x_end - 1);
        if (out->xl > out->xr) return false;
        out->s = out->t = out->r = out->g = out->b = out->a = 0;
        if constexpr (Textured) {
            out->s = ToFixed16(_su.s.At(fx, py)) + cut * _f.ds;
            out->t = ToFixed16(_su.t.At(fx, py)) + cut * _f.dt;
        }
        if (!_f.uniform) {
            out->r = ToFixed16(_su.r.At(fx, py)) + cut * _f.dr;
            out->g = ToFixed16(_su.g.At(fx, py)) + cut * _f.dg;
            out->b = ToFixed16(_su.b.At(fx, py)) + cut * _f.db;
            out->a = ToFixed16(_su.a.At(fx, py)) + cut * _f.da;
        }
        return true;
    }

private:
    const Setup& _su;
    const SpanFill& _f;
    int _width;
    EdgeWalk _walks[3];
};

template <bool Textured, StageKind S, BlendKind B>
void FillRows(uint32_t* target, int width, const Setup& su, const Sampler& sampler, const RasterState& st) {
    const SpanFill fill(su, sampler);
    RowWalker<Textured> rows(su, fill, width);
    Span span;
    for (int py = su.y_begin; py < su.y_end; ++py)
        if (rows.Row(py, &span)) FillSpan<Textured, S, B>(target + static_cast<size_t>(py) * width, span, fill, st);
}

template <bool Textured, StageKind S, BlendKind B>
void FillQuadRows(uint32_t* target, int width, const QuadRows& quad, const SpanFill& fill, const RasterState& st) {
    Span span;
    span.xl = quad.x_begin;
    span.xr = quad.x_end - 1;
    span.s = quad.s;
    for (int py = quad.y_begin; py < quad.y_end; ++py) {
        if constexpr (Textured) span.t = ToFixed16(quad.t_plane.At(quad.x_begin, py));
        FillSpan<Textured, S, B>(target + static_cast<size_t>(py) * width, span, fill, st);
    }
}

// Two triangles drawn one after the other, row by row: each row gets the
// first one's span and then the second one's, as when drawn one by one. Where
// the two spans meet (the halves of a quad) and the second carries on the
// first one's values, they are filled as one.
template <bool Textured, StageKind S, BlendKind B>
void FillPairRows(uint32_t* target, int width, const Setup& su_a, const Setup& su_b, const Sampler& sampler,
                  const RasterState& st) {
    const SpanFill fill_a(su_a, sampler), fill_b(su_b, sampler);
    const bool alike = fill_a.SameAs(fill_b);
    RowWalker<Textured> rows_a(su_a, fill_a, width), rows_b(su_b, fill_b, width);
    Span a, b;
    const int y_begin = std::min(su_a.y_begin, su_b.y_begin), y_end = std::max(su_a.y_end, su_b.y_end);
    for (int py = y_begin; py < y_end; ++py) {
        const bool has_a = py >= su_a.y_begin && py < su_a.y_end && rows_a.Row(py, &a);
        const bool has_b = py >= su_b.y_begin && py < su_b.y_end && rows_b.Row(py, &b);
        uint32_t* row = target + static_cast<size_t>(py) * width;
        if (has_a && has_b && alike) {
            if (a.Continues(b, fill_a)) {
                a.xr = b.xr;
                FillSpan<Textured, S, B>(row, a, fill_a, st);
                continue;
            }
            if (b.Continues(a, fill_a)) {
                b.xr = a.xr;
                FillSpan<Textured, S, B>(row, b, fill_a, st);
                continue;
            }
        }
        if (has_a) FillSpan<Textured, S, B>(row, a, fill_a, st);
        if (has_b) FillSpan<Textured, S, B>(row, b, fill_b, st);
    }
}

// The rows of a triangle, of a pair and of a quad, for the blend of the state.
template <bool Textured, StageKind S>
void FillBlend(uint32_t* target, int width, const Setup& su, const Sampler& sm, const RasterState& st, BlendKind bk) {
    switch (bk) {
        case kOpaque: FillRows<Textured, S, kOpaque>(target, width, su, sm, st); break;
        case kAlpha: FillRows<Textured, S, kAlpha>(target, width, su, sm, st); break;
        case kAdditive: FillRows<Textured, S, kAdditive>(target, width, su, sm, st); break;
        default: FillRows<Textured, S, kGeneric>(target, width, su, sm, st); break;
    }
}

template <bool Textured, StageKind S>
void FillPairBlend(uint32_t* target, int width, const Setup& a, const Setup& b, const Sampler& sm, const RasterState& st,
                   BlendKind bk) {
    switch (bk) {
        case kOpaque: FillPairRows<Textured, S, kOpaque>(target, width, a, b, sm, st); break;
        case kAlpha: FillPairRows<Textured, S, kAlpha>(target, width, a, b, sm, st); break;
        case kAdditive: FillPairRows<Textured, S, kAdditive>(target, width, a, b, sm, st); break;
        default: FillPairRows<Textured, S, kGeneric>(target, width, a, b, sm, st); break;
    }
}

template <bool Textured, StageKind S>
void FillQuadBlend(uint32_t* target, int width, const QuadRows& quad, const Sampler& sm, const RasterState& st,
                   BlendKind bk) {
    const SpanFill fill(quad.color, quad.s_plane, quad.t_plane, sm);
    switch (bk) {
        case kOpaque: FillQuadRows<Textured, S, kOpaque>(target, width, quad, fill, st); break;
        case kAlpha: FillQuadRows<Textured, S, kAlpha>(target, width, quad, fill, st); break;
        case kAdditive: FillQuadRows<Textured, S, kAdditive>(target, width, quad, fill, st); break;
        default: FillQuadRows<Textured, S, kGeneric>(target, width, quad, fill, st); break;
    }
}

}  // namespace plat::raster
