#include "platform/rasterizer.h"

#include "platform/raster_pixel.h"
#include "platform/raster_quad.h"
#include "platform/raster_rows.h"
#include "platform/raster_setup.h"

namespace plat {

using namespace raster;

bool Rasterizer::Triangle(const ScreenVertex& va, const ScreenVertex& vb, const ScreenVertex& vc, const RasterState& st) {
    Setup su;
    if (!Prepare(va, vb, vc, st, Bounds {_width, _height, _row_begin, _row_end, _col_begin, _col_end}, &su)) return false;
    const Sampler sampler {st.texels, st.tex_width, st.tex_height, st.linear, st.wrap_u, st.wrap_v};
    const BlendKind bk = BlendOf(st);
    if (Textured(st)) {
        if (Modulates(st)) FillBlend<true, kStageModulate>(_target, _width, su, sampler, st, bk);
        else FillBlend<true, kStageGeneric>(_target, _width, su, sampler, st, bk);
    } else {
        // Without a texture the texture argument reads as opaque white, so
        // modulation leaves the vertex colour.
        if (Modulates(st)) FillBlend<false, kStageModulate>(_target, _width, su, sampler, st, bk);
        else FillBlend<false, kStageGeneric>(_target, _width, su, sampler, st, bk);
    }
    return true;
}

void Rasterizer::Pair(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st) {
    const Bounds bounds {_width, _height, _row_begin, _row_end, _col_begin, _col_end};
    const Sampler sampler {st.texels, st.tex_width, st.tex_height, st.linear, st.wrap_u, st.wrap_v};
    const BlendKind bk = BlendOf(st);
    const bool textured = Textured(st), modulate = Modulates(st);
    QuadRows quad;
    if (QuadOf(a, b, st, bounds, &quad)) {
        if (quad.x_begin >= quad.x_end || quad.y_begin >= quad.y_end) return;
        if (textured) {
            if (modulate) FillQuadBlend<true, kStageModulate>(_target, _width, quad, sampler, st, bk);
            else FillQuadBlend<true, kStageGeneric>(_target, _width, quad, sampler, st, bk);
        } else {
            if (modulate) FillQuadBlend<false, kStageModulate>(_target, _width, quad, sampler, st, bk);
            else FillQuadBlend<false, kStageGeneric>(_target, _width, quad, sampler, st, bk);
        }
        return;
    }
    Setup su_a, su_b;
    const bool has_a = Prepare(a[0], a[1], a[2], st, bounds, &su_a);
    const bool has_b = Prepare(b[0], b[1], b[2], st, bounds, &su_b);
    if (!has_a || !has_b) {
        // One of them alone: drawn as it is.
        if (has_a) Triangle(a[0], a[1], a[2], st);
        if (has_b) Triangle(b[0], b[1], b[2], st);
        return;
    }
    if (textured) {
        if (modulate) FillPairBlend<true, kStageModulate>(_target, _width, su_a, su_b, sampler, st, bk);
        else FillPairBlend<true, kStageGeneric>(_target, _width, su_a, su_b, sampler, st, bk);
    } else {
        if (modulate) FillPairBlend<false, kStageModulate>(_target, _width, su_a, su_b, sampler, st, bk);
        else FillPairBlend<false, kStageGeneric>(_target, _width, su_a, su_b, sampler, st, bk);
    }
}

bool Rasterizer::ClearTexelsLeavePixels(const RasterState& st) {
    // The source's alpha is the texel's (times the colour's): 0 wherever the
    // texels are clear, and such pixels are passed over.
    const bool alpha_of_texture = IsModulatePair(st.alpha_op, st.alpha_arg1, st.alpha_arg2) ||
                                  (st.alpha_op == 2 && (st.alpha_arg1 & 0xF) == 2);
    const BlendKind bk = BlendOf(st);
    return Textured(st) && st.blend && alpha_of_texture && (bk == kAlpha || bk == kAdditive);
}

}  // namespace plat
