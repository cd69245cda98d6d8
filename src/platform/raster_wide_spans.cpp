#include "platform/raster_wide_spans.h"

#include <algorithm>
#include <atomic>
#include <type_traits>
#include <climits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VOVARO_WIDE_SPANS 1
#endif

namespace plat::wide {

namespace {

#if VOVARO_WIDE_SPANS
bool ProcessorHasLanes() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#else
bool ProcessorHasLanes() { return false; }
#endif

std::atomic<bool>& Switch() {
    static std::atomic<bool> on {ProcessorHasLanes()};
    return on;
}

}  // namespace

bool Enabled() { return Switch().load(std::memory_order_relaxed); }

bool SetEnabled(bool on) { return Switch().exchange(on && ProcessorHasLanes()); }

#if VOVARO_WIDE_SPANS

namespace {

#define WIDE __attribute__((target("avx2"), always_inline)) inline

// Eight pixels travel as two registers of 16-bit lanes, the way unpacking
// eight packed texels within each 128-bit half leaves them: `lo` holds pixels
// 0, 1, 4, 5 and `hi` pixels 2, 3, 6, 7, four channels each (blue, green,
// red, alpha). Packing the two back gives the eight in order.

// The first n (0..8) 32-bit lanes set.
WIDE __m256i FirstLanes(int64_t n) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<int>(n)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

WIDE __m256i Load8(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

// The masked lanes only: nothing outside them is read, so a texture row or a
// target row may end right after the last one.
WIDE __m256i Load8(const uint32_t* p, __m256i mask) { return _mm256_maskload_epi32(reinterpret_cast<const int*>(p), mask); }

template <bool Masked>
WIDE __m256i Load8(const uint32_t* p, __m256i mask) {
    if constexpr (Masked) return Load8(p, mask);
    else return Load8(p);
}

template <bool Masked>
WIDE void Store8(uint32_t* p, __m256i v, __m256i mask) {
    // Pixels past the span belong to another triangle or another tile (drawn
    // on another thread at the same time): never written, not even as they were.
    if constexpr (Masked) _mm256_maskstore_epi32(reinterpret_cast<int*>(p), mask, v);
    else _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// x * y / 255, rounded, per lane.
WIDE __m256i Mul255(__m256i x, __m256i y) {
    const __m256i p = _mm256_add_epi16(_mm256_mullo_epi16(x, y), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(p, _mm256_srli_epi16(p, 8)), 8);
}

// Each pixel's alpha in all four of its lanes.
WIDE __m256i AlphaLanes(__m256i src) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(src, 0xFF), 0xFF); }

// BlendPixel's arithmetic on lanes (a zero alpha is the caller's business).
template <Blend B>
WIDE __m256i Mix(__m256i src, __m256i dst) {
    const __m256i a = AlphaLanes(src);
    if constexpr (B == Blend::kAlpha) {
        const __m256i ia = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
        const __m256i v = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(src, a), _mm256_mullo_epi16(dst, ia)),
                                           _mm256_set1_epi16(128));
        return _mm256_srli_epi16(_mm256_add_epi16(v, _mm256_srli_epi16(v, 8)), 8);
    } else {
        return _mm256_add_epi16(Mul255(src, a), dst);  // saturated by the pack
    }
}

// Eight source pixels in lanes (lo, hi) over the eight target pixels at
// `target`: the narrow loops' pair blend, four times as wide. A pixel whose
// source alpha is 0 keeps the target as it was. Masked: only the pixels of
// `mask` are read or written.
template <Blend B, bool Masked>
WIDE void Blend8(__m256i lo, __m256i hi, uint32_t* target, __m256i mask) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ones = _mm256_set1_epi32(-1);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i src = _mm256_packus_epi16(lo, hi);
    if constexpr (B == Blend::kOpaque) {
        Store8<Masked>(target, _mm256_or_si256(src, opaque), mask);
        return;
    }
    const __m256i alpha = _mm256_and_si256(src, opaque);
    __m256i transparent = _mm256_cmpeq_epi32(alpha, zero);
    if constexpr (Masked) transparent = _mm256_or_si256(transparent, _mm256_andnot_si256(mask, ones));
    if (_mm256_movemask_epi8(transparent) == -1) return;
    if constexpr (B == Blend::kAlpha) {
        __m256i full = _mm256_cmpeq_epi32(alpha, opaque);
        if constexpr (Masked) full = _mm256_or_si256(full, _mm256_andnot_si256(mask, ones));
        if (_mm256_movemask_epi8(full) == -1) {
            Store8<Masked>(target, src, mask);
            return;
        }
    }
    const __m256i dst = Masked ? Load8(target, mask) : Load8(target);
    const __m256i out = _mm256_packus_epi16(Mix<B>(lo, _mm256_unpacklo_epi8(dst, zero)),
                                            Mix<B>(hi, _mm256_unpackhi_epi8(dst, zero)));
    const __m256i blended = _mm256_or_si256(out, opaque);
    if constexpr (Masked)
        _mm256_maskstore_epi32(reinterpret_cast<int*>(target), _mm256_andnot_si256(transparent, ones), blended);
    else
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target), _mm256_blendv_epi8(blended, dst, transparent));
}

// Eight texels (or the masked ones, zero elsewhere) as pixels: modulated
// unless white, then drawn over the target.
template <Blend B, bool Masked>
WIDE void DrawTexels8(__m256i v, uint32_t* target, bool white, __m256i diffuse, __m256i mask) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i lo = _mm256_unpacklo_epi8(v, zero), hi = _mm256_unpackhi_epi8(v, zero);
    if (!white) {
        lo = Mul255(lo, diffuse);
        hi = Mul255(hi, diffuse);
    }
    Blend8<B, Masked>(lo, hi, target, mask);
}

template <Blend B>
__attribute__((target("avx2"))) int64_t TexelRowOf(uint32_t* row, int64_t px, int64_t xr, const uint32_t* texrow,
                                                   int* tx_io, int tex_w, bool white, uint32_t color) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i diffuse = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(color)));
    int tx = *tx_io;
    for (; px + 7 <= xr && tx + 7 < tex_w; px += 8, tx += 8) {
        const __m256i v = Load8(texrow + tx);
        if constexpr (B == Blend::kOpaque) {
            if (white) {
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + px), _mm256_or_si256(v, opaque));
                continue;
            }
        } else {
            // All transparent (around glyphs and sprites): passed over; all
            // opaque and drawn as they are (the inside of a sprite): copied.
            const __m256i alpha = _mm256_and_si256(v, opaque);
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, zero)) == -1) continue;
            if constexpr (B == Blend::kAlpha) {
                if (white && _mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, opaque)) == -1) {
                    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + px), v);
                    continue;
                }
            }
        }
        DrawTexels8<B, false>(v, row + px, white, diffuse, zero);
    }
    // The last one to seven pixels, as far as the texture row reaches.
    const int64_t n = std::min<int64_t>(xr + 1 - px, tex_w - tx);
    if (n > 0) {
        const __m256i mask = FirstLanes(n);
        DrawTexels8<B, true>(Load8(texrow + tx, mask), row + px, white, diffuse, mask);
        px += n;
        tx += static_cast<int>(n);
    }
    *tx_io = tx;
    return px;
}

struct Lerped {
    __m256i lo, hi;
};

// Texels a weighed `left` and b weighed `right`, lane by lane.
WIDE __m256i Weigh(__m256i a, __m256i b, __m256i left, __m256i right) {
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, left), _mm256_mullo_epi16(b, right)), 8);
}

// Eight packed texels a, each beside its right neighbour in b, weighed as
// eight pixels.
WIDE Lerped Lerp8(__m256i a, __m256i b, __m256i left_lo, __m256i right_lo, __m256i left_hi, __m256i right_hi) {
    const __m256i zero = _mm256_setzero_si256();
    return {Weigh(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero), left_lo, right_lo),
            Weigh(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero), left_hi, right_hi)};
}

// The upper row's lanes and the lower one's weighed top and bottom. Every
// weighted sum stays below 65536, so 16-bit lanes give what 32-bit ones do.
WIDE __m256i Vertical(__m256i upper, __m256i lower, __m256i top, __m256i bottom) {
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(upper, top), _mm256_mullo_epi16(lower, bottom)), 8);
}

template <Blend B, bool Masked>
WIDE void DrawLerped8(Lerped tex, uint32_t* target, bool white, __m256i diffuse, __m256i mask) {
    if (!white) {
        tex.lo = Mul255(tex.lo, diffuse);
        tex.hi = Mul255(tex.hi, diffuse);
    }
    Blend8<B, Masked>(tex.lo, tex.hi, target, mask);
}

template <Blend B, bool Masked>
WIDE void Scrolled8(uint32_t* target, const uint32_t* r0, const uint32_t* r1, int x, int fy, __m256i left,
                    __m256i right, __m256i top, __m256i bottom, bool white, __m256i diffuse, __m256i mask) {
    Lerped tex = Lerp8(Load8<Masked>(r0 + x, mask), Load8<Masked>(r0 + x + 1, mask), left, right, left, right);
    // On the texel rows the row below weighs nothing.
    if (fy != 0) {
        const Lerped below =
            Lerp8(Load8<Masked>(r1 + x, mask), Load8<Masked>(r1 + x + 1, mask), left, right, left, right);
        tex.lo = Vertical(tex.lo, below.lo, top, bottom);
        tex.hi = Vertical(tex.hi, below.hi, top, bottom);
    }
    DrawLerped8<B, Masked>(tex, target, white, diffuse, mask);
}

template <Blend B>
__attribute__((target("avx2"))) int64_t ScrolledRowOf(uint32_t* row, int64_t px, int64_t xr, const uint32_t* r0,
                                                      const uint32_t* r1, int* x_io, int tex_w, int fx, int fy,
                                                      bool white, uint32_t color) {
    const __m256i left = _mm256_set1_epi16(static_cast<short>(256 - fx)), right = _mm256_set1_epi16(static_cast<short>(fx));
    const __m256i top = _mm256_set1_epi16(static_cast<short>(256 - fy)), bottom = _mm256_set1_epi16(static_cast<short>(fy));
    const __m256i diffuse = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(color)));
    int x = *x_io;
    for (; px + 7 <= xr && x + 8 < tex_w; px += 8, x += 8)
        Scrolled8<B, false>(row + px, r0, r1, x, fy, left, right, top, bottom, white, diffuse, left);
    // The last one to seven pixels, as far as their right texels lie in the row.
    const int64_t n = std::min<int64_t>(xr + 1 - px, tex_w - 1 - x);
    if (n > 0) {
        Scrolled8<B, true>(row + px, r0, r1, x, fy, left, right, top, bottom, white, diffuse, FirstLanes(n));
        px += n;
        x += static_cast<int>(n);
    }
    *x_io = x;
    return px;
}

// 32-bit lanes 0 and 4.
WIDE uint32_t First(__m256i v) { return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm256_castsi256_si128(v))); }
WIDE uint32_t Fifth(__m256i v) { return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm256_extracti128_si256(v, 1))); }

// Texels x_i and x_i + 1 of row r for x_i = xs[i], xs[i + 1], in one 8-byte
// load each.
WIDE __m128i TexelPairs(const uint32_t* r, const uint32_t* xs, int i) {
    return _mm_castpd_si128(_mm_loadh_pd(_mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r + xs[i]))),
                                         reinterpret_cast<const double*>(r + xs[i + 1])));
}

// Eight pixels of row r, the i-th on texels xs[i] and xs[i] + 1: the left
// texels gathered in order in one register, the right ones in another.
WIDE Lerped Stretched8Row(const uint32_t* r, const uint32_t* xs, __m256i left_lo, __m256i right_lo, __m256i left_hi,
                          __m256i right_hi) {
    const __m256 q0 = _mm256_castsi256_ps(_mm256_inserti128_si256(_mm256_castsi128_si256(TexelPairs(r, xs, 0)),
                                                                  TexelPairs(r, xs, 4), 1));
    const __m256 q1 = _mm256_castsi256_ps(_mm256_inserti128_si256(_mm256_castsi128_si256(TexelPairs(r, xs, 2)),
                                                                  TexelPairs(r, xs, 6), 1));
    const __m256i a = _mm256_castps_si256(_mm256_shuffle_ps(q0, q1, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m256i b = _mm256_castps_si256(_mm256_shuffle_ps(q0, q1, _MM_SHUFFLE(3, 1, 3, 1)));
    return Lerp8(a, b, left_lo, right_lo, left_hi, right_hi);
}

// Stretched8Row where each four pixels' texels lie among the eight from the
// first one's column on (less than two texels a pixel): two loads, and each
// pixel's texels picked from them by their distance `near` from that column.
WIDE Lerped Stretched8RowNear(const uint32_t* r, uint32_t x0, uint32_t x4, __m256i near, __m256i left_lo,
                              __m256i right_lo, __m256i left_hi, __m256i right_hi) {
    const __m256i from0 = Load8(r + x0), from4 = Load8(r + x4);
    const __m256i next = _mm256_add_epi32(near, _mm256_set1_epi32(1));
    const __m256i a = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(from0, near),
                                         _mm256_permutevar8x32_epi32(from4, near), 0xF0);
    const __m256i b = _mm256_blend_epi32(_mm256_permutevar8x32_epi32(from0, next),
                                         _mm256_permutevar8x32_epi32(from4, next), 0xF0);
    return Lerp8(a, b, left_lo, right_lo, left_hi, right_hi);
}

// Per-pixel weights w (32-bit lanes in order, 0..256) in the four lanes of
// each pixel in the lo / hi order, and 256 - w beside them.
WIDE void PixelWeights(__m256i w, __m256i* rest_lo, __m256i* w_lo, __m256i* rest_hi, __m256i* w_hi) {
    const __m256i w2 = _mm256_or_si256(w, _mm256_slli_epi32(w, 16));
    const __m256i w256 = _mm256_set1_epi16(256);
    *w_lo = _mm256_unpacklo_epi32(w2, w2);
    *w_hi = _mm256_unpackhi_epi32(w2, w2);
    *rest_lo = _mm256_sub_epi16(w256, *w_lo);
    *rest_hi = _mm256_sub_epi16(w256, *w_hi);
}

// Eight pixels of a stretched row, the i-th (i < n) on texels x_i and x_i + 1
// (`columns` in 32-bit lanes; xs, or for Near x_0 and x_4 alone) of rows r0
// and r1 weighed by its own fraction of `fractions` and by fy: what
// SampleClamp32 gives.
template <Blend B, bool Masked, bool Near>
WIDE void Stretched8(uint32_t* target, const uint32_t* r0, const uint32_t* r1, const uint32_t* xs, uint32_t x0,
                     uint32_t x4, __m256i columns, __m256i fractions, int fy, __m256i top, __m256i bottom, bool white,
                     __m256i diffuse, __m256i mask) {
    __m256i left_lo, right_lo, left_hi, right_hi;
    PixelWeights(fractions, &left_lo, &right_lo, &left_hi, &right_hi);
    __m256i near = columns;
    if constexpr (Near)
        near = _mm256_sub_epi32(columns, _mm256_permutevar8x32_epi32(columns, _mm256_setr_epi32(0, 0, 0, 0, 4, 4, 4, 4)));
    auto row_of = [&](const uint32_t* r) __attribute__((always_inline, target("avx2"))) {
        if constexpr (Near) return Stretched8RowNear(r, x0, x4, near, left_lo, right_lo, left_hi, right_hi);
        else return Stretched8Row(r, xs, left_lo, right_lo, left_hi, right_hi);
    };
    Lerped tex = row_of(r0);
    if (fy != 0) {
        const Lerped below = row_of(r1);
        tex.lo = Vertical(tex.lo, below.lo, top, bottom);
        tex.hi = Vertical(tex.hi, below.hi, top, bottom);
    }
    DrawLerped8<B, Masked>(tex, target, white, diffuse, mask);
}

template <Blend B>
__attribute__((target("avx2"))) int64_t StretchedRowOf(uint32_t* row, int64_t px, int64_t xr, const uint32_t* r0,
                                                       const uint32_t* r1, int tex_w, int64_t s, int64_t ds, int fy,
                                                       bool white, uint32_t color) {
    const __m256i top = _mm256_set1_epi16(static_cast<short>(256 - fy)), bottom = _mm256_set1_epi16(static_cast<short>(fy));
    const __m256i diffuse = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(color)));
    // A pixel's texel column is bits 16.. of its s + 128 and its fraction
    // bits 8..15, which 32-bit lanes stepping with wrap-around carry exactly
    // while the columns stay below 65536.
    const uint32_t d32 = static_cast<uint32_t>(ds);
    const __m256i step = _mm256_set1_epi32(static_cast<int>(8 * d32));
    const __m256i byte = _mm256_set1_epi32(0xFF);
    __m256i at = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(s + 128))),
                                  _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int>(d32)),
                                                     _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    // Less than two texels a pixel: four pixels' texels lie among eight.
    const bool near = ds > 0 && ds < 2 * 65536;
    alignas(32) uint32_t xs[8];
    // Eight pixels (the masked ones of the last step only): their texels
    // from one load where they lie near each other, else column by column.
    auto eight = [&](auto masked, __m256i columns, __m256i fractions, __m256i mask)
                     __attribute__((target("avx2"), always_inline)) {
        const uint32_t x0 = First(columns), x4 = Fifth(columns);
        if (near && x4 + 8 <= static_cast<uint32_t>(tex_w)) {
            Stretched8<B, masked(), true>(row + px, r0, r1, xs, x0, x4, columns, fractions, fy, top, bottom, white,
                                          diffuse, mask);
        } else {
            _mm256_store_si256(reinterpret_cast<__m256i*>(xs), columns);
            Stretched8<B, masked(), false>(row + px, r0, r1, xs, x0, x4, columns, fractions, fy, top, bottom, white,
                                           diffuse, mask);
        }
    };
    for (; px + 7 <= xr; px += 8) {
        const __m256i columns = _mm256_srli_epi32(at, 16), fractions = _mm256_and_si256(_mm256_srli_epi32(at, 8), byte);
        eight(std::false_type {}, columns, fractions, top);
        at = _mm256_add_epi32(at, step);
    }
    const int64_t n = xr + 1 - px;
    if (n > 0) {
        // The pixels past the span read their texels from the last one's
        // columns, inside the row.
        const __m256i mask = FirstLanes(n);
        const __m256i last = _mm256_permutevar8x32_epi32(at, _mm256_set1_epi32(static_cast<int>(n - 1)));
        const __m256i columns = _mm256_srli_epi32(_mm256_blendv_epi8(last, at, mask), 16);
        const __m256i fractions = _mm256_and_si256(_mm256_srli_epi32(at, 8), byte);
        eight(std::true_type {}, columns, fractions, mask);
        px += n;
    }
    return px;
}

// The clamped texel pair of each pixel at positions v (16.16 plus 128, in
// 32-bit lanes) along an axis of `size` texels (at least 2): the first texel
// of the pair, and the weight (0..256) of the second. Clamping gives the edge
// texel alone, which the pair at the edge weighed wholly to that side gives
// too, so the pair always lies inside the texture.
WIDE void ClampedPairs(__m256i v, int size, __m256i* first, __m256i* weight) {
    const __m256i whole = _mm256_srai_epi32(v, 16);
    const __m256i before = _mm256_cmpgt_epi32(_mm256_setzero_si256(), whole);
    const __m256i after = _mm256_cmpgt_epi32(whole, _mm256_set1_epi32(size - 2));
    *first = _mm256_min_epi32(_mm256_max_epi32(whole, _mm256_setzero_si256()), _mm256_set1_epi32(size - 2));
    const __m256i fraction = _mm256_and_si256(_mm256_srli_epi32(v, 8), _mm256_set1_epi32(0xFF));
    *weight = _mm256_blendv_epi8(_mm256_andnot_si256(before, fraction), _mm256_set1_epi32(256), after);
}

// Eight pixels at positions vs, vt (16.16 plus 128, 32-bit lanes) of a
// texture w x h (both at least 2), bilinear and clamped: SampleClamp32's
// texels and weights.
template <Blend B, bool Masked>
WIDE void Filtered8(uint32_t* target, const uint32_t* texels, int w, int h, __m256i vs, __m256i vt, bool white,
                    __m256i diffuse, __m256i mask) {
    __m256i column, right, line, bottom;
    ClampedPairs(vs, w, &column, &right);
    ClampedPairs(vt, h, &line, &bottom);
    alignas(32) uint32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at),
                       _mm256_add_epi32(_mm256_mullo_epi32(line, _mm256_set1_epi32(w)), column));
    __m256i left_lo, right_lo, left_hi, right_hi, top_lo, bottom_lo, top_hi, bottom_hi;
    PixelWeights(right, &left_lo, &right_lo, &left_hi, &right_hi);
    PixelWeights(bottom, &top_lo, &bottom_lo, &top_hi, &bottom_hi);
    Lerped tex = Stretched8Row(texels, at, left_lo, right_lo, left_hi, right_hi);
    const Lerped below = Stretched8Row(texels + w, at, left_lo, right_lo, left_hi, right_hi);
    tex.lo = Vertical(tex.lo, below.lo, top_lo, bottom_lo);
    tex.hi = Vertical(tex.hi, below.hi, top_hi, bottom_hi);
    DrawLerped8<B, Masked>(tex, target, white, diffuse, mask);
}

// v + 128 + i * d for i = 0..7, in 32-bit lanes.
WIDE __m256i Positions(int64_t v, int64_t d) {
    return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(v + 128))),
                            _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(d))),
                                               _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
}

template <Blend B>
__attribute__((target("avx2"))) int64_t FilteredRowOf(uint32_t* row, int64_t px, int64_t xr, const uint32_t* texels,
                                                      int w, int h, int64_t s, int64_t ds, int64_t t, int64_t dt,
                                                      bool white, uint32_t color) {
    const __m256i diffuse = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(color)));
    // The positions step in 32-bit lanes, with wrap-around, exactly while
    // they stay within them over the span (less than 32768 texels off).
    __m256i vs = Positions(s, ds), vt = Positions(t, dt);
    const __m256i step_s = _mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(8 * ds)));
    const __m256i step_t = _mm256_set1_epi32(static_cast<int>(static_cast<uint32_t>(8 * dt)));
    for (; px + 7 <= xr; px += 8) {
        Filtered8<B, false>(row + px, texels, w, h, vs, vt, white, diffuse, vs);
        vs = _mm256_add_epi32(vs, step_s);
        vt = _mm256_add_epi32(vt, step_t);
    }
    const int64_t n = xr + 1 - px;
    if (n > 0) {
        // The pixels past the span sample clamped texels too, and are not drawn.
        Filtered8<B, true>(row + px, texels, w, h, vs, vt, white, diffuse, FirstLanes(n));
        px += n;
    }
    return px;
}

#undef WIDE

}  // namespace

int64_t TexelRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* texrow, int* tx, int tex_w,
                 bool white, uint32_t color) {
    switch (blend) {
        case Blend::kOpaque: return TexelRowOf<Blend::kOpaque>(row, px, xr, texrow, tx, tex_w, white, color);
        case Blend::kAlpha: return TexelRowOf<Blend::kAlpha>(row, px, xr, texrow, tx, tex_w, white, color);
        default: return TexelRowOf<Blend::kAdditive>(row, px, xr, texrow, tx, tex_w, white, color);
    }
}

int64_t ScrolledRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* r0, const uint32_t* r1, int* x,
                    int tex_w, int fx, int fy, bool white, uint32_t color) {
    switch (blend) {
        case Blend::kOpaque: return ScrolledRowOf<Blend::kOpaque>(row, px, xr, r0, r1, x, tex_w, fx, fy, white, color);
        case Blend::kAlpha: return ScrolledRowOf<Blend::kAlpha>(row, px, xr, r0, r1, x, tex_w, fx, fy, white, color);
        default: return ScrolledRowOf<Blend::kAdditive>(row, px, xr, r0, r1, x, tex_w, fx, fy, white, color);
    }
}

int64_t StretchedRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* r0, const uint32_t* r1,
                     int tex_w, int64_t s, int64_t ds, int fy, bool white, uint32_t color) {
    switch (blend) {
        case Blend::kOpaque: return StretchedRowOf<Blend::kOpaque>(row, px, xr, r0, r1, tex_w, s, ds, fy, white, color);
        case Blend::kAlpha: return StretchedRowOf<Blend::kAlpha>(row, px, xr, r0, r1, tex_w, s, ds, fy, white, color);
        default: return StretchedRowOf<Blend::kAdditive>(row, px, xr, r0, r1, tex_w, s, ds, fy, white, color);
    }
}

int64_t FilteredRow(Blend blend, uint32_t* row, int64_t px, int64_t xr, const uint32_t* texels, int w, int h,
                    int64_t s, int64_t ds, int64_t t, int64_t dt, bool white, uint32_t color) {
    // Texel offsets are taken in 32-bit lanes.
    if (w < 2 || h < 2 || static_cast<int64_t>(w) * h > INT32_MAX) return px;
    const int64_t n = xr - px;
    constexpr int64_t kRoom = (int64_t {1} << 31) - (int64_t {1} << 17);
    for (const int64_t v : {s, s + n * ds, t, t + n * dt})
        if (v + 128 < -kRoom || v + 128 >= kRoom) return px;
    switch (blend) {
        case Blend::kOpaque:
            return FilteredRowOf<Blend::kOpaque>(row, px, xr, texels, w, h, s, ds, t, dt, white, color);
        case Blend::kAlpha:
            return FilteredRowOf<Blend::kAlpha>(row, px, xr, texels, w, h, s, ds, t, dt, white, color);
        default: return FilteredRowOf<Blend::kAdditive>(row, px, xr, texels, w, h, s, ds, t, dt, white, color);
    }
}

#else

int64_t TexelRow(Blend, uint32_t*, int64_t px, int64_t, const uint32_t*, int*, int, bool, uint32_t) { return px; }
int64_t ScrolledRow(Blend, uint32_t*, int64_t px, int64_t, const uint32_t*, const uint32_t*, int*, int, int, int, bool,
                    uint32_t) {
    return px;
}
int64_t StretchedRow(Blend, uint32_t*, int64_t px, int64_t, const uint32_t*, const uint32_t*, int, int64_t, int64_t,
                     int, bool, uint32_t) {
    return px;
}
int64_t FilteredRow(Blend, uint32_t*, int64_t px, int64_t, const uint32_t*, int, int, int64_t, int64_t, int64_t, int64_t,
                    bool, uint32_t) {
    return px;
}

#endif

}  // namespace plat::wide
