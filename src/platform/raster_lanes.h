#pragma once
// The rasteriser's pixel arithmetic in SSE2 lanes, for the loops that fill
// one or two pixels at a step.
#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/raster_pixel.h"

namespace plat::raster {

#if defined(__SSE2__)
// The same arithmetic as Sampler::Sample, Modulate and BlendPixel, kept in
// 16-bit lanes (0..3: blue, green, red, alpha) from the texel fetch to the
// store, so that every result is the same to the bit.

// Bilinear sample with clamp addressing (a zero fraction weighs the second
// texel 0, so no shortcut is needed for it). The result is four 32-bit
// channels (blue, green, red, alpha).
__attribute__((always_inline)) inline __m128i SampleClamp32(const Sampler& sm, int32_t s, int32_t t) {
    const __m128i zero = _mm_setzero_si128();
    const int x0 = s >> 8, y0 = t >> 8;
    const int fx = s & 0xFF, fy = t & 0xFF;
    int xa = x0, xb = x0 + 1;
    const uint32_t* r0;
    const uint32_t* r1;
    if (static_cast<unsigned>(x0) < static_cast<unsigned>(sm.w - 1) && static_cast<unsigned>(y0) < static_cast<unsigned>(sm.h - 1)) {
        r0 = sm.texels + y0 * sm.w;
        r1 = r0 + sm.w;
    } else {
        xa = std::min(std::max(x0, 0), sm.w - 1);
        xb = std::min(std::max(x0 + 1, 0), sm.w - 1);
        r0 = sm.texels + std::min(std::max(y0, 0), sm.h - 1) * sm.w;
        r1 = sm.texels + std::min(std::max(y0 + 1, 0), sm.h - 1) * sm.w;
    }
    // Each texel beside its right neighbour, so that one multiply-add weighs a pair.
    const __m128i top = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(r0[xa])),
                                                             _mm_cvtsi32_si128(static_cast<int>(r0[xb]))), zero);
    const __m128i bottom = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(r1[xa])),
                                                                _mm_cvtsi32_si128(static_cast<int>(r1[xb]))), zero);
    const __m128i wx = _mm_set1_epi32((fx << 16) | (256 - fx));
    const __m128i wy = _mm_set1_epi32((fy << 16) | (256 - fy));
    const __m128i ht = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(top, _mm_srli_si128(top, 8)), wx), 8);
    const __m128i hb = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(bottom, _mm_srli_si128(bottom, 8)), wx), 8);
    return _mm_srli_epi32(_mm_madd_epi16(_mm_or_si128(ht, _mm_slli_epi32(hb, 16)), wy), 8);
}

__attribute__((always_inline)) inline __m128i SampleClampLanes(const Sampler& sm, int32_t s, int32_t t) {
    return _mm_packs_epi32(SampleClamp32(sm, s, t), _mm_setzero_si128());
}

// SampleClamp32 along one pair of texture rows, for texel-centre positions
// whose two texels both lie inside the row.
struct StretchedRow {
    const uint32_t* r0;
    const uint32_t* r1;
    __m128i wy;
    StretchedRow(const uint32_t* top, const uint32_t* bottom, int fy)
        : r0(top), r1(bottom), wy(_mm_set1_epi32((fy << 16) | (256 - fy))) {}

    __attribute__((always_inline)) inline __m128i Sample(int32_t s24) const {
        const __m128i zero = _mm_setzero_si128();
        const int x = s24 >> 8, fx = s24 & 0xFF;
        const __m128i wx = _mm_set1_epi32((fx << 16) | (256 - fx));
        // A texel and its right neighbour in one load, interleaved channel by channel.
        const __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0 + x)), zero);
        const __m128i bottom = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1 + x)), zero);
        const __m128i ht = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(top, _mm_srli_si128(top, 8)), wx), 8);
        const __m128i hb = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(bottom, _mm_srli_si128(bottom, 8)), wx), 8);
        return _mm_srli_epi32(_mm_madd_epi16(_mm_or_si128(ht, _mm_slli_epi32(hb, 16)), wy), 8);
    }
};

// The bilinear weights of a row whose pixels all sit the same fraction
// (fx, fy of 256) beside their texels.
struct ScrollWeights {
    __m128i left, right, top, bottom;
    ScrollWeights(int fx, int fy)
        : left(_mm_set1_epi16(static_cast<short>(256 - fx))), right(_mm_set1_epi16(static_cast<short>(fx))),
          top(_mm_set1_epi16(static_cast<short>(256 - fy))), bottom(_mm_set1_epi16(static_cast<short>(fy))) {}
};

// SampleClamp32 for the pixels on texels x and x + 1 of rows r0 and r1 (all
// inside the texture), in 16-bit lanes as two pixels. Each weighted sum stays
// below 65536, so 16-bit lanes give the same results as 32-bit ones.
// The horizontal half of ScrolledPair: texels x and x + 1 of row r weighed.
__attribute__((always_inline)) inline __m128i ScrolledRowPair(const uint32_t* r, int x, const ScrollWeights& w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r + x)), zero);
    const __m128i b = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r + x + 1)), zero);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, w.left), _mm_mullo_epi16(b, w.right)), 8);
}

__attribute__((always_inline)) inline __m128i ScrolledPair(const uint32_t* r0, const uint32_t* r1, int x,
                                                          const ScrollWeights& w) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(ScrolledRowPair(r0, x, w), w.top),
                                        _mm_mullo_epi16(ScrolledRowPair(r1, x, w), w.bottom)),
                          8);
}

inline __m128i Lanes(uint32_t c) { return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(c)), _mm_setzero_si128()); }

// x * y / 255, rounded, per lane.
inline __m128i Mul255Lanes(__m128i x, __m128i y) {
    __m128i p = _mm_add_epi16(_mm_mullo_epi16(x, y), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(p, _mm_srli_epi16(p, 8)), 8);
}

// BlendPixel on lanes; a zero alpha gives the target's colour (as BlendPixel
// does), the callers decide whether such a pixel is written at all.
template <BlendKind B>
__attribute__((always_inline)) inline uint32_t BlendLanes(__m128i src, uint32_t dst) {
    const __m128i zero = _mm_setzero_si128();
    __m128i out;
    if constexpr (B == kOpaque) {
        out = src;
    } else {
        const __m128i a = _mm_shufflelo_epi16(src, 0xFF);
        if constexpr (B == kAlpha) {
            const __m128i ia = _mm_sub_epi16(_mm_set1_epi16(255), a);
            __m128i v = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(src, a), _mm_mullo_epi16(Lanes(dst), ia)),
                                      _mm_set1_epi16(128));
            out = _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
        } else {
            out = _mm_add_epi16(Mul255Lanes(src, a), Lanes(dst));  // saturated by the pack
        }
    }
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(out, zero))) | 0xFF000000u;
}

inline uint32_t AlphaLane(__m128i src) { return static_cast<uint32_t>(_mm_extract_epi16(src, 3)); }

// BlendLanes for two neighbouring pixels (lanes 0..3 and 4..7) written at
// `target`; a pixel whose source alpha is 0 keeps the target as it was.
template <BlendKind B>
__attribute__((always_inline)) inline void BlendPair(__m128i src, uint32_t* target) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i src_packed = _mm_packus_epi16(src, zero);
    if constexpr (B == kOpaque) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(target), _mm_or_si128(src_packed, opaque));
        return;
    }
    const __m128i src_alpha = _mm_and_si128(src_packed, opaque);
    // Both transparent (around most sprites, the sky between clouds): the
    // target stays.
    const int transparent_mask = _mm_movemask_epi8(_mm_cmpeq_epi32(src_alpha, zero)) & 0xFF;
    if (transparent_mask == 0xFF) return;
    if constexpr (B == kAlpha) {
        // Both opaque (the inside of most sprites): they replace the target.
        if ((_mm_movemask_epi8(_mm_cmpeq_epi32(src_alpha, opaque)) & 0xFF) == 0xFF) {
            _mm_storel_epi64(reinterpret_cast<__m128i*>(target), src_packed);
            return;
        }
    }
    const __m128i dst = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(target));
    const __m128i d = _mm_unpacklo_epi8(dst, zero);
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(src, 0xFF), 0xFF);
    __m128i out;
    if constexpr (B == kAlpha) {
        const __m128i ia = _mm_sub_epi16(_mm_set1_epi16(255), a);
        __m128i v = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(src, a), _mm_mullo_epi16(d, ia)), _mm_set1_epi16(128));
        out = _mm_srli_epi16(_mm_add_epi16(v, _mm_srli_epi16(v, 8)), 8);
    } else {
        out = _mm_add_epi16(Mul255Lanes(src, a), d);  // saturated by the pack
    }
    const __m128i blended = _mm_or_si128(_mm_packus_epi16(out, zero), opaque);
    const __m128i transparent = _mm_cmpeq_epi32(src_alpha, zero);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(target),
                     _mm_or_si128(_mm_and_si128(transparent, dst), _mm_andnot_si128(transparent, blended)));
}
#endif

}  // namespace plat::raster
