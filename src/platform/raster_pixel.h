#pragma once
// The rasteriser's pixel arithmetic, one pixel at a time: texels sampled
// (nearest or bilinear, clamped or wrapped), the texture stage that combines
// texel and vertex colour, and the blend of the result into the target. The
// kinds of stage and blend a raster state asks for pick the filling loops.
#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/rasterizer.h"

namespace plat::raster {

// a * b / 255, rounded, for channels 0..255.
inline uint32_t Mul255(uint32_t a, uint32_t b) {
    uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

inline uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

// Linear blend of two packed ARGB colours with a weight of 0..256 for `b`.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f) {
    uint32_t inv = 256 - f;
    uint32_t rb = (((a & 0x00FF00FF) * inv + (b & 0x00FF00FF) * f) >> 8) & 0x00FF00FF;
    uint32_t ag = (((a >> 8) & 0x00FF00FF) * inv + ((b >> 8) & 0x00FF00FF) * f) & 0xFF00FF00;
    return rb | ag;
}

inline int Address(int i, int size, bool wrap) {
    if (wrap) {
        i %= size;
        return i < 0 ? i + size : i;
    }
    return i < 0 ? 0 : (i >= size ? size - 1 : i);
}

struct Sampler {
    const uint32_t* texels;
    int w, h;
    bool linear, wrap_u, wrap_v;

    // s, t: texel-centre coordinates in 24.8 fixed point.
    __attribute__((always_inline)) inline uint32_t Sample(int32_t s, int32_t t) const {
        if (!linear) {
            int x = Address((s + 128) >> 8, w, wrap_u);
            int y = Address((t + 128) >> 8, h, wrap_v);
            return texels[y * w + x];
        }
        int x0 = s >> 8, y0 = t >> 8;
        uint32_t fx = static_cast<uint32_t>(s) & 0xFF, fy = static_cast<uint32_t>(t) & 0xFF;
        int xa, xb, ya, yb;
        if (static_cast<unsigned>(x0) < static_cast<unsigned>(w - 1) && static_cast<unsigned>(y0) < static_cast<unsigned>(h - 1)) {
            // Inside the texture: no addressing needed for the four texels.
            xa = x0;
            xb = x0 + 1;
            ya = y0;
            yb = y0 + 1;
        } else {
            xa = Address(x0, w, wrap_u);
            ya = Address(y0, h, wrap_v);
            xb = Address(x0 + 1, w, wrap_u);
            yb = Address(y0 + 1, h, wrap_v);
        }
        if ((fx | fy) == 0) return texels[ya * w + xa];
        const uint32_t* r0 = texels + ya * w;
        const uint32_t* r1 = texels + yb * w;
#if defined(__SSE2__)
        // Both rows at once, four channels per texel in 16-bit lanes.
        const __m128i zero = _mm_setzero_si128();
        __m128i a = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(r0[xa])),
                                                         _mm_cvtsi32_si128(static_cast<int>(r1[xa]))), zero);
        __m128i b = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(r0[xb])),
                                                         _mm_cvtsi32_si128(static_cast<int>(r1[xb]))), zero);
        __m128i h = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, _mm_set1_epi16(static_cast<short>(256 - fx))),
                                                 _mm_mullo_epi16(b, _mm_set1_epi16(static_cast<short>(fx)))), 8);
        __m128i v = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(h, _mm_set1_epi16(static_cast<short>(256 - fy))),
                                                 _mm_mullo_epi16(_mm_srli_si128(h, 8), _mm_set1_epi16(static_cast<short>(fy)))), 8);
        return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(v, zero)));
#else
        uint32_t top = Lerp(r0[xa], r0[xb], fx);
        uint32_t bottom = Lerp(r1[xa], r1[xb], fx);
        return Lerp(top, bottom, fy);
#endif
    }
};

inline uint32_t Channel(uint32_t c, int shift) { return (c >> shift) & 0xFF; }

inline uint32_t Arg(uint32_t arg, uint32_t tex, uint32_t diffuse) { return (arg & 0xF) == 2 ? tex : diffuse; }

inline uint32_t ApplyOp(uint32_t op, uint32_t a1, uint32_t a2, int shift) {
    uint32_t x = Channel(a1, shift), y = Channel(a2, shift);
    switch (op) {
        case 2: return x;
        case 3: return y;
        case 4: return Mul255(x, y);
        case 5: return std::min<uint32_t>(255, 2 * Mul255(x, y));
        case 6: return std::min<uint32_t>(255, 4 * Mul255(x, y));
        case 7: return std::min<uint32_t>(255, x + y);
        default: return y;  // disabled: the diffuse colour passes
    }
}

// The texture stage for any combination of operations and arguments.
inline uint32_t CombineGeneric(const RasterState& st, uint32_t tex, uint32_t diffuse) {
    uint32_t c1 = Arg(st.color_arg1, tex, diffuse), c2 = Arg(st.color_arg2, tex, diffuse);
    uint32_t a1 = Arg(st.alpha_arg1, tex, diffuse), a2 = Arg(st.alpha_arg2, tex, diffuse);
    uint32_t cop = st.color_op == 1 ? 3 : st.color_op;
    uint32_t aop = st.alpha_op == 1 ? 3 : st.alpha_op;
    if (st.color_op == 1) c2 = diffuse;
    if (st.alpha_op == 1) a2 = diffuse;
    return Pack(ApplyOp(aop, a1, a2, 24), ApplyOp(cop, c1, c2, 16), ApplyOp(cop, c1, c2, 8), ApplyOp(cop, c1, c2, 0));
}

inline uint32_t Modulate(uint32_t tex, uint32_t diffuse) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i a = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(tex)), zero);
    __m128i b = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(diffuse)), zero);
    __m128i p = _mm_add_epi16(_mm_mullo_epi16(a, b), _mm_set1_epi16(128));
    p = _mm_srli_epi16(_mm_add_epi16(p, _mm_srli_epi16(p, 8)), 8);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(p, zero)));
#endif
    return Pack(Mul255(tex >> 24, diffuse >> 24), Mul255(Channel(tex, 16), Channel(diffuse, 16)),
                Mul255(Channel(tex, 8), Channel(diffuse, 8)), Mul255(tex & 0xFF, diffuse & 0xFF));
}

inline uint32_t Factor(uint32_t f, uint32_t src, uint32_t dst, int shift) {
    switch (f) {
        case 1: return 0;
        case 2: return 255;
        case 3: return Channel(src, shift);
        case 4: return 255 - Channel(src, shift);
        case 5: return src >> 24;
        case 6: return 255 - (src >> 24);
        case 7: return dst >> 24;
        case 8: return 255 - (dst >> 24);
        case 9: return Channel(dst, shift);
        case 10: return 255 - Channel(dst, shift);
        default: return 255;
    }
}

enum BlendKind { kOpaque, kAlpha, kAdditive, kGeneric };

// x / 255 rounded, for each 16-bit lane of red and blue (or of green alone).
inline uint32_t Div255Lanes(uint32_t x, uint32_t mask) { return ((x + ((x >> 8) & mask)) >> 8) & mask; }

// Saturating add of two colours with the channels in separate 16-bit lanes.
inline uint32_t AddSat(uint32_t a, uint32_t b, uint32_t mask) {
    uint32_t sum = a + b;
    uint32_t over = sum & (mask << 1) & ~mask;  // the carry bit above each lane
    return (sum | (over - (over >> 8))) & mask;
}

// The back buffer has no alpha of its own: it always reads as opaque.
template <BlendKind B>
inline uint32_t BlendPixel(uint32_t src, uint32_t dst, const RasterState& st) {
    if constexpr (B == kOpaque) {
        return src | 0xFF000000u;
    } else if constexpr (B == kAlpha) {
        uint32_t a = src >> 24;
        if (a == 255) return src;
        if (a == 0) return dst | 0xFF000000u;
        uint32_t ia = 255 - a;
        uint32_t rb = (src & 0x00FF00FF) * a + (dst & 0x00FF00FF) * ia + 0x00800080;
        uint32_t g = (src & 0x0000FF00) * a + (dst & 0x0000FF00) * ia + 0x00008000;
        return 0xFF000000u | Div255Lanes(rb, 0x00FF00FF) | Div255Lanes(g >> 8, 0x000000FF) << 8;
    } else if constexpr (B == kAdditive) {
        uint32_t a = src >> 24;
        if (a == 0) return dst | 0xFF000000u;
        uint32_t rb = src & 0x00FF00FF, g = (src >> 8) & 0xFF;
        if (a != 255) {
            rb = Div255Lanes(rb * a + 0x00800080, 0x00FF00FF);
            g = Div255Lanes(g * a + 0x80, 0xFF);
        }
        return 0xFF000000u | AddSat(dst & 0x00FF00FF, rb, 0x00FF00FF) | AddSat((dst >> 8) & 0xFF, g, 0xFF) << 8;
    } else {
        dst |= 0xFF000000u;
        uint32_t out[3];
        for (int i = 0; i < 3; ++i) {
            int shift = 16 - 8 * i;
            uint32_t v = Mul255(Channel(src, shift), Factor(st.src_blend, src, dst, shift)) +
                         Mul255(Channel(dst, shift), Factor(st.dest_blend, src, dst, shift));
            out[i] = std::min<uint32_t>(v, 255);
        }
        return Pack(255, out[0], out[1], out[2]);
    }
}

// The texture stage as the filling loops know it: the texel times the vertex
// colour, or any other operation and arguments.
enum StageKind { kStageModulate, kStageGeneric };

inline bool Textured(const RasterState& st) { return st.texels && st.tex_width > 0 && st.tex_height > 0; }

// The blend of a state: the three the game uses have loops of their own.
inline BlendKind BlendOf(const RasterState& st) {
    if (!st.blend) return kOpaque;
    if (st.src_blend == 5 && st.dest_blend == 6) return kAlpha;
    if (st.src_blend == 5 && st.dest_blend == 2) return kAdditive;
    if (st.src_blend == 2 && st.dest_blend == 1) return kOpaque;
    return kGeneric;
}

// One argument the texture, the other not, multiplied.
inline bool IsModulatePair(uint32_t op, uint32_t a1, uint32_t a2) {
    return op == 4 && (((a1 & 0xF) == 2 && (a2 & 0xF) != 2) || ((a2 & 0xF) == 2 && (a1 & 0xF) != 2));
}

inline bool Modulates(const RasterState& st) {
    return IsModulatePair(st.color_op, st.color_arg1, st.color_arg2) &&
           IsModulatePair(st.alpha_op, st.alpha_arg1, st.alpha_arg2);
}

}  // namespace plat::raster
