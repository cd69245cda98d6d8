#pragma once
// One row's span of a triangle filled: the pixels [xl, xr] from the values at
// xl stepped pixel by pixel. The common cases of the game's drawing take
// loops of their own, each giving the pixels of the general loop to the bit:
// a sprite placed texel for texel, one colour over a filtered, clamped texture
// (a layer moved by a fraction of a pixel, a panel stretched along its rows,
// or anything scaled or turned), and one colour without a texture.
#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/raster_lanes.h"
#include "platform/raster_pixel.h"
#include "platform/raster_setup.h"
#include "platform/raster_wide_spans.h"
#include "platform/rasterizer.h"

namespace plat::raster {

// A span of one untextured colour. False when the span needs the general loop.
template <BlendKind B>
inline bool FillUniformSpan(uint32_t* row, int64_t xl, int64_t xr, uint32_t color) {
    const uint32_t a = color >> 24;
    if constexpr (B == kOpaque) {
        std::fill(row + xl, row + xr + 1, color | 0xFF000000u);
        return true;
    } else {
        if (a == 0) return true;  // fully transparent: the target stays
        if constexpr (B == kAlpha) {
            if (a == 255) {
                std::fill(row + xl, row + xr + 1, color);
                return true;
            }
        }
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
        int64_t px = xl;
        if constexpr (B == kAlpha) {
            // The source's share, rounding term included, is the same everywhere.
            const __m128i src = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
            const __m128i share = _mm_add_epi16(_mm_mullo_epi16(src, _mm_set1_epi16(static_cast<short>(a))),
                                                _mm_set1_epi16(128));
            const __m128i ia = _mm_set1_epi16(static_cast<short>(255 - a));
            auto blend = [&](__m128i d) {
                __m128i v = _mm_add_epi16(share, _mm_mullo_epi16(d, ia));
                return _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
            };
            for (; px + 3 <= xr; px += 4) {
                const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + px));
                const __m128i out = _mm_packus_epi16(blend(_mm_unpacklo_epi8(d, zero)), blend(_mm_unpackhi_epi8(d, zero)));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + px), _mm_or_si128(out, opaque));
            }
        } else {
            // Additive: the weighted source added with saturation.
            uint32_t add = color;
            if (a != 255) add = Pack(0, Mul255(Channel(color, 16), a), Mul255(Channel(color, 8), a), Mul255(color & 0xFF, a));
            const __m128i src = _mm_set1_epi32(static_cast<int>(add & 0x00FFFFFFu));
            for (; px + 3 <= xr; px += 4) {
                const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + px));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + px), _mm_or_si128(_mm_adds_epu8(d, src), opaque));
            }
        }
        for (; px <= xr; ++px) row[px] = BlendPixel<B>(color, row[px], RasterState {});
        return true;
#else
        return false;
#endif
    }
}

template <BlendKind B>
constexpr wide::Blend WideBlend() {
    static_assert(B != kGeneric);
    return B == kOpaque ? wide::Blend::kOpaque : (B == kAlpha ? wide::Blend::kAlpha : wide::Blend::kAdditive);
}

// What every span of one triangle shares.
struct SpanFill {
    Sampler sampler;
    uint32_t color;
    bool uniform, white, wide_lanes;
    int64_t ds, dt, dr, dg, db, da;  // 16.16 steps from pixel to pixel
    SpanFill(const Setup& su, const Sampler& sm)
        : sampler(sm), color(su.color), uniform(su.uniform_color), white(su.uniform_color && su.color == 0xFFFFFFFFu),
          wide_lanes(wide::Enabled()), ds(ToFixed16(su.s.dx)), dt(ToFixed16(su.t.dx)), dr(ToFixed16(su.r.dx)),
          dg(ToFixed16(su.g.dx)), db(ToFixed16(su.b.dx)), da(ToFixed16(su.a.dx)) {}
    // One colour over the whole triangle.
    SpanFill(uint32_t one_color, const Plane& s, const Plane& t, const Sampler& sm)
        : sampler(sm), color(one_color), uniform(true), white(one_color == 0xFFFFFFFFu), wide_lanes(wide::Enabled()),
          ds(ToFixed16(s.dx)), dt(ToFixed16(t.dx)), dr(0), dg(0), db(0), da(0) {}
    bool SameAs(const SpanFill& o) const {
        return color == o.color && uniform == o.uniform && ds == o.ds && dt == o.dt && dr == o.dr && dg == o.dg &&
               db == o.db && da == o.da;
    }
};

// One row's pixels [xl, xr] of a triangle and its attributes at xl (16.16).
struct Span {
    int64_t xl = 0, xr = -1;
    int64_t s = 0, t = 0, r = 0, g = 0, b = 0, a = 0;
    // `next` starts where this one ends and with the values this one's
    // stepping reaches there.
    bool Continues(const Span& next, const SpanFill& f) const {
        const int64_t n = next.xl - xl;
        return xr + 1 == next.xl && next.s == s + n * f.ds && next.t == t + n * f.dt && next.r == r + n * f.dr &&
               next.g == g + n * f.dg && next.b == b + n * f.db && next.a == a + n * f.da;
    }
};

// A sprite placed texel for texel: every pixel centre on a texel centre of
// one texture row (at s, t), so each pixel is one texel.
template <BlendKind B>
__attribute__((always_inline)) inline void FillTexelForTexel(uint32_t* __restrict row, int64_t xl, int64_t xr, int64_t s,
                                                             int64_t t, const Sampler& sampler, uint32_t color,
                                                             bool white, bool wide_lanes, const RasterState& st) {
    const int ty = Address(static_cast<int>(t >> 16), sampler.h, sampler.wrap_v);
    const uint32_t* texrow = sampler.texels + static_cast<size_t>(ty) * sampler.w;
    int64_t px = xl;
    int tx = static_cast<int>(s >> 16);
#if defined(__SSE2__)
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    if constexpr (B == kOpaque) {
        if (tx >= 0 && wide_lanes)
            px = wide::TexelRow(wide::Blend::kOpaque, row, px, xr, texrow, &tx, sampler.w, white, color);
        // Four texels at a time, copied as they are.
        if (white && tx >= 0) {
            for (; px + 3 <= xr && tx + 3 < sampler.w; px += 4, tx += 4) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(texrow + tx));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + px), _mm_or_si128(v, opaque));
            }
        }
    } else if constexpr (B == kAlpha || B == kAdditive) {
        // Four texels at a time: passed over when they are all
        // transparent, copied as they are when they are all opaque
        // and drawn unmodulated over, else blended two by two.
        if (tx >= 0) {
            if (wide_lanes)
                px = wide::TexelRow(WideBlend<B>(), row, px, xr, texrow, &tx, sampler.w, white, color);
            const __m128i zero = _mm_setzero_si128();
            const __m128i diffuse2 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
            for (; px + 3 <= xr && tx + 3 < sampler.w; px += 4, tx += 4) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(texrow + tx));
                const __m128i alpha = _mm_and_si128(v, opaque);
                if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) continue;
                if constexpr (B == kAlpha) {
                    if (white && _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, opaque)) == 0xFFFF) {
                        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + px), v);
                        continue;
                    }
                }
                __m128i lo = _mm_unpacklo_epi8(v, zero), hi = _mm_unpackhi_epi8(v, zero);
                if (!white) {
                    lo = Mul255Lanes(lo, diffuse2);
                    hi = Mul255Lanes(hi, diffuse2);
                }
                BlendPair<B>(lo, row + px);
                BlendPair<B>(hi, row + px + 2);
            }
        }
    }
#endif
    for (; px <= xr; ++px, ++tx) {
        uint32_t tex = texrow[tx < 0 ? 0 : (tx >= sampler.w ? sampler.w - 1 : tx)];
        if constexpr (B == kAlpha || B == kAdditive) {
            if ((tex >> 24) == 0) continue;
        }
        uint32_t src = white ? tex : Modulate(tex, color);
        row[px] = BlendPixel<B>(src, row[px], st);
    }
}

#if defined(__SSE2__)
// What the filtered, clamped loops of one span share: the texture, the colour
// (in lanes, for one pixel and for two) and whether the wide loops may run.
struct FilteredPaint {
    const Sampler& sampler;
    uint32_t color;
    bool white, wide_lanes;
    __m128i diffuse, diffuse2;
    FilteredPaint(const Sampler& sm, uint32_t one_color, bool is_white, bool wide)
        : sampler(sm), color(one_color), white(is_white), wide_lanes(wide), diffuse(Lanes(one_color)),
          diffuse2(_mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(one_color)), _mm_setzero_si128())) {}

    // Texture row y; rows above or below the texture are its edge rows, as
    // clamping makes them.
    __attribute__((always_inline)) inline const uint32_t* TexelRow(int y) const {
        return sampler.texels + static_cast<size_t>(std::clamp(y, 0, sampler.h - 1)) * sampler.w;
    }
};

// One pixel from its own sample (the texels clamped), at s, t.
template <BlendKind B>
__attribute__((always_inline)) inline void FilteredPixel(uint32_t* __restrict row, int64_t px, int64_t s, int64_t t,
                                                         const FilteredPaint& paint) {
    const __m128i tex = SampleClampLanes(paint.sampler, To24_8(s), To24_8(t));
    const __m128i src = paint.white ? tex : Mul255Lanes(tex, paint.diffuse);
    const uint32_t alpha = AlphaLane(src);
    if constexpr (B == kAlpha) {
        // Opaque texels (the inside of most sprites) replace the target.
        if (alpha == 255) {
            row[px] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(src, src)));
            return;
        }
    }
    const uint32_t dst = row[px];
    const uint32_t out = BlendLanes<B>(src, dst);
    // Fully transparent: the target stays.
    row[px] = (B == kOpaque || alpha != 0) ? out : dst;
}

// Moved by a fraction of a pixel, neither scaled nor turned (a scrolling
// layer): every pixel of the row weighs its texels alike. Fills from px on
// as far as the texture reaches, and moves px and s on alike.
template <BlendKind B>
__attribute__((always_inline)) inline void FillScrolled(uint32_t* __restrict row, int64_t& px, int64_t xr, int64_t& s,
                                                        int64_t t, int64_t ds, const FilteredPaint& paint) {
    const Sampler& sampler = paint.sampler;
    const bool white = paint.white;
    const int32_t s24 = To24_8(s), t24 = To24_8(t);
    const int y0 = t24 >> 8;
    int x = s24 >> 8;
    // The pixels left of the texture's first texel (a layer
    // scrolled in from the left) one by one, each a column on.
    for (; px <= xr && x < 0; ++px, ++x, s += ds) FilteredPixel<B>(row, px, s, t, paint);
    const ScrollWeights wt(s24 & 0xFF, t24 & 0xFF);
    const uint32_t* r0 = paint.TexelRow(y0);
    const uint32_t* r1 = paint.TexelRow(y0 + 1);
    if (x >= 0 && paint.wide_lanes && px <= xr) {
        const int64_t from = px;
        px = wide::ScrolledRow(WideBlend<B>(), row, px, xr, r0, r1, &x, sampler.w, s24 & 0xFF, t24 & 0xFF, white,
                               paint.color);
        s += (px - from) * ds;
    }
    if ((t24 & 0xFF) == 0) {
        // On the texel rows (moved sideways only): the row
        // below weighs nothing.
        for (; px < xr && x >= 0 && x + 2 < sampler.w; px += 2, x += 2, s += 2 * ds) {
            const __m128i tex = ScrolledRowPair(r0, x, wt);
            BlendPair<B>(white ? tex : Mul255Lanes(tex, paint.diffuse2), row + px);
        }
    }
    for (; px < xr && x >= 0 && x + 2 < sampler.w; px += 2, x += 2, s += 2 * ds) {
        const __m128i tex = ScrolledPair(r0, r1, x, wt);
        BlendPair<B>(white ? tex : Mul255Lanes(tex, paint.diffuse2), row + px);
    }
}

// Magnified along the row: runs of pixels share a pair of texel columns, and
// where the pair is alike in both rows (a panel shaded from top to bottom)
// the whole run is one colour, whatever its fractions. Fills px..xe, whose
// texels all lie inside the texture, and moves px and s on alike.
template <BlendKind B>
__attribute__((always_inline)) inline void FillMagnified(uint32_t* __restrict row, int64_t& px, int64_t xe, int64_t& s,
                                                         int64_t ds, const uint32_t* r0, const uint32_t* r1,
                                                         const StretchedRow& rows, const FilteredPaint& paint) {
    const bool white = paint.white;
    while (px <= xe) {
        const int x = static_cast<int>((s + 128) >> 16);
        const int64_t left = ((static_cast<int64_t>(x) + 1) << 16) - 128 - s;
        const int64_t n = std::min((left + ds - 1) / ds, xe - px + 1);
        if (r0[x] == r0[x + 1] && r1[x] == r1[x + 1]) {
            const __m128i v = rows.Sample(static_cast<int32_t>((s + 128) >> 8));
            const uint32_t tex = static_cast<uint32_t>(
                _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(v, v), v)));
            FillUniformSpan<B>(row, px, px + n - 1, white ? tex : Modulate(tex, paint.color));
            px += n;
            s += n * ds;
            continue;
        }
        for (const int64_t end = px + n; px < end; ++px, s += ds) {
            const __m128i tex = _mm_packs_epi32(rows.Sample(static_cast<int32_t>((s + 128) >> 8)),
                                                _mm_setzero_si128());
            const __m128i src = white ? tex : Mul255Lanes(tex, paint.diffuse);
            const uint32_t alpha = AlphaLane(src);
            if (B != kOpaque && alpha == 0) continue;  // the target stays
            row[px] = BlendLanes<B>(src, row[px]);
        }
    }
}

// Stretched along the row only (a scaled panel): one pair of texture rows for
// the whole span, and where each pixel's two texels lie inside the texture no
// clamping. Fills from px on up to xr, or to its last pixel when the texels
// of the pixel before it reach past the texture, and moves px and s on alike.
template <BlendKind B>
__attribute__((always_inline)) inline void FillStretched(uint32_t* __restrict row, int64_t& px, int64_t xr, int64_t& s,
                                                         int64_t t, int64_t ds, const FilteredPaint& paint) {
    const Sampler& sampler = paint.sampler;
    const bool white = paint.white;
    const int32_t t24 = To24_8(t);
    const int y0 = t24 >> 8;
    auto inside = [&](int64_t p) __attribute__((always_inline)) {
        const int32_t s24 = To24_8(s + (p - px) * ds);
        return s24 >= 0 && (s24 >> 8) < sampler.w - 1;
    };
    // The pixels at either end whose texels reach past the
    // texture's edge (a sprite or panel stretched over its
    // whole texture) one by one, the rest as a run.
    for (; px <= xr && !inside(px); ++px, s += ds) FilteredPixel<B>(row, px, s, t, paint);
    int64_t xe = xr;
    while (xe >= px && !inside(xe)) --xe;
    if (px > xe) return;
    const uint32_t* r0 = paint.TexelRow(y0);
    const uint32_t* r1 = paint.TexelRow(y0 + 1);
    const StretchedRow rows(r0, r1, t24 & 0xFF);
    if (ds > 0 && ds <= 32768) FillMagnified<B>(row, px, xe, s, ds, r0, r1, rows, paint);
    if (paint.wide_lanes && px <= xe && sampler.w <= 65536) {
        const int64_t from = px;
        px = wide::StretchedRow(WideBlend<B>(), row, px, xe, r0, r1, sampler.w, s, ds, t24 & 0xFF, white, paint.color);
        s += (px - from) * ds;
    }
    for (; px < xe; px += 2) {
        const __m128i v0 = rows.Sample(static_cast<int32_t>((s + 128) >> 8));
        s += ds;
        const __m128i v1 = rows.Sample(static_cast<int32_t>((s + 128) >> 8));
        s += ds;
        const __m128i tex = _mm_packs_epi32(v0, v1);
        BlendPair<B>(white ? tex : Mul255Lanes(tex, paint.diffuse2), row + px);
    }
}

// Filtered, clamped and one colour: the whole pixel in lanes. A layer moved
// by a fraction of a pixel and a panel stretched along its rows take loops
// of their own first; what they leave is sampled pixel by pixel.
template <BlendKind B>
__attribute__((always_inline)) inline void FillFiltered(uint32_t* __restrict row, int64_t xl, int64_t xr, int64_t s,
                                                        int64_t t, int64_t ds, int64_t dt, const FilteredPaint& paint) {
    const Sampler& sampler = paint.sampler;
    int64_t px = xl;
    if (ds == 65536 && dt == 0) FillScrolled<B>(row, px, xr, s, t, ds, paint);
    if (dt == 0 && px < xr) FillStretched<B>(row, px, xr, s, t, ds, paint);
    if (paint.wide_lanes && px <= xr) {
        const int64_t from = px;
        px = wide::FilteredRow(WideBlend<B>(), row, px, xr, sampler.texels, sampler.w, sampler.h, s, ds, t, dt,
                               paint.white, paint.color);
        s += (px - from) * ds;
        t += (px - from) * dt;
    }
    // Two pixels at a time, then the odd one.
    for (; px < xr; px += 2) {
        const __m128i v0 = SampleClamp32(sampler, To24_8(s), To24_8(t));
        s += ds;
        t += dt;
        const __m128i v1 = SampleClamp32(sampler, To24_8(s), To24_8(t));
        s += ds;
        t += dt;
        const __m128i tex = _mm_packs_epi32(v0, v1);
        BlendPair<B>(paint.white ? tex : Mul255Lanes(tex, paint.diffuse2), row + px);
    }
    for (; px <= xr; ++px, s += ds, t += dt) FilteredPixel<B>(row, px, s, t, paint);
}
#endif

// Any span, pixel by pixel: the colour stepped unless it is one, the texture
// sampled, the texture stage and the blend as the state asks.
template <bool Textured, StageKind S, BlendKind B>
__attribute__((always_inline)) inline void FillEachPixel(uint32_t* __restrict row, const Span& span,
                                                         const SpanFill& fill, const RasterState& st) {
    // Local copies: stores into the target must not make the compiler reload them.
    const Sampler sampler = fill.sampler;
    const uint32_t color = fill.color;
    const bool uniform = fill.uniform, white = fill.white;
    const int64_t ds = fill.ds, dt = fill.dt, dr = fill.dr, dg = fill.dg, db = fill.db, da = fill.da;
    int64_t s = span.s, t = span.t, r = span.r, g = span.g, b = span.b, a = span.a;
    for (int64_t px = span.xl; px <= span.xr; ++px) {
        uint32_t diffuse = color;
        if (!uniform) {
            auto ch = [](int64_t v) { return static_cast<uint32_t>(std::clamp<int64_t>((v + 32768) >> 16, 0, 255)); };
            diffuse = Pack(ch(a), ch(r), ch(g), ch(b));
            r += dr;
            g += dg;
            b += db;
            a += da;
        }
        uint32_t src;
        if constexpr (Textured) {
            uint32_t tex = sampler.Sample(To24_8(s), To24_8(t));
            s += ds;
            t += dt;
            if constexpr (S == kStageModulate) src = white ? tex : Modulate(tex, diffuse);
            else src = CombineGeneric(st, tex, diffuse);
        } else {
            if constexpr (S == kStageModulate) src = diffuse;
            else src = CombineGeneric(st, 0xFFFFFFFFu, diffuse);
        }
        if constexpr (B == kAlpha || B == kAdditive) {
            if ((src >> 24) == 0) continue;  // fully transparent: the target stays
        }
        row[px] = BlendPixel<B>(src, row[px], st);
    }
}

// One span: the loop of its case, else the general one.
template <bool Textured, StageKind S, BlendKind B>
__attribute__((always_inline)) inline void FillSpan(uint32_t* __restrict row, const Span& span, const SpanFill& fill,
                                                    const RasterState& st) {
    // Local copies: stores into the target must not make the compiler reload them.
    const Sampler sampler = fill.sampler;
    const uint32_t color = fill.color;
    const bool uniform = fill.uniform, white = fill.white, wide_lanes = fill.wide_lanes;
    const int64_t ds = fill.ds, dt = fill.dt;
    const int64_t xl = span.xl, xr = span.xr, s = span.s, t = span.t;
    if constexpr (Textured && S == kStageModulate) {
        if (uniform && ds == 65536 && dt == 0 && ((s | t) & 0xFFFF) == 0 && !sampler.wrap_u) {
            FillTexelForTexel<B>(row, xl, xr, s, t, sampler, color, white, wide_lanes, st);
            return;
        }
#if defined(__SSE2__)
        if constexpr (B != kGeneric) {
            if (uniform && sampler.linear && !sampler.wrap_u && !sampler.wrap_v) {
                FillFiltered<B>(row, xl, xr, s, t, ds, dt, FilteredPaint(sampler, color, white, wide_lanes));
                return;
            }
        }
#endif
    }
    if constexpr (!Textured && S == kStageModulate && B != kGeneric) {
        // One colour and no texture: the source is the same at every pixel.
        if (uniform && FillUniformSpan<B>(row, xl, xr, color)) return;
    }
    FillEachPixel<Textured, S, B>(row, span, fill, st);
}

}  // namespace plat::raster
