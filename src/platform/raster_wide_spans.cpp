#include "platform/raster_wide_spans.h"

#include <atomic>

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

// Four pixels in 16-bit lanes (0..3 and 4..7 of the low half, 8..15 of the
// high one), packed back into four texels.
WIDE __m128i Pack4(__m256i lanes) {
    const __m256i packed = _mm256_packus_epi16(lanes, _mm256_setzero_si256());
    return _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08));
}

// x * y / 255, rounded, per lane.
WIDE __m256i Mul255(__m256i x, __m256i y) {
    const __m256i p = _mm256_add_epi16(_mm256_mullo_epi16(x, y), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(p, _mm256_srli_epi16(p, 8)), 8);
}

// Four source pixels in lanes over the four target pixels at `target`: the
// narrow loops' pair blend, twice as wide. A pixel whose source alpha is 0
// keeps the target as it was.
template <Blend B>
WIDE void BlendQuad(__m256i src, uint32_t* target) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i src_packed = Pack4(src);
    if constexpr (B == Blend::kOpaque) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_or_si128(src_packed, opaque));
        return;
    }
    const __m128i src_alpha = _mm_and_si128(src_packed, opaque);
    const __m128i transparent = _mm_cmpeq_epi32(src_alpha, zero);
    if (_mm_movemask_epi8(transparent) == 0xFFFF) return;
    if constexpr (B == Blend::kAlpha) {
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(src_alpha, opaque)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(target), src_packed);
            return;
        }
    }
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target));
    const __m256i d = _mm256_cvtepu8_epi16(dst);
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(src, 0xFF), 0xFF);
    __m256i out;
    if constexpr (B == Blend::kAlpha) {
        const __m256i ia = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
        const __m256i v = _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(src, a), _mm256_mullo_epi16(d, ia)),
                                           _mm256_set1_epi16(128));
        out = _mm256_srli_epi16(_mm256_add_epi16(v, _mm256_srli_epi16(v, 8)), 8);
    } else {
        out = _mm256_add_epi16(Mul255(src, a), d);  // saturated by the pack
    }
    const __m128i blended = _mm_or_si128(Pack4(out), opaque);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target), _mm_blendv_epi8(blended, dst, transparent));
}

template <Blend B>
__attribute__((target("avx2"))) int64_t TexelRowOf(uint32_t* row, int64_t px, int64_t xr, const uint32_t* texrow,
                                                   int* tx_io, int tex_w, bool white, uint32_t color) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i diffuse = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(color)));
    int tx = *tx_io;
    if constexpr (B != Blend::kAdditive) {
        if (white) {
            // Eight at a time while they are all opaque (a background, the
            // inside of a sprite): copied as they are.
            const __m256i opaque8 = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
            for (; px + 7 <= xr && tx + 7 < tex_w; px += 8, tx += 8) {
                const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(texrow + tx));
                const __m256i alpha = _mm256_and_si256(v, opaque8);
                if (B == Blend::kAlpha && _mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, opaque8)) != -1) break;
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + px), _mm256_or_si256(v, opaque8));
            }
        }
    }
    for (; px + 3 <= xr && tx + 3 < tex_w; px += 4, tx += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(texrow + tx));
        if constexpr (B == Blend::kOpaque) {
            if (white) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + px), _mm_or_si128(v, opaque));
                continue;
            }
        } else {
            const __m128i alpha = _mm_and_si128(v, opaque);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) continue;
            if constexpr (B == Blend::kAlpha) {
                if (white && _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, opaque)) == 0xFFFF) {
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + px), v);
                    continue;
                }
            }
        }
        const __m256i tex = _mm256_cvtepu8_epi16(v);
        BlendQuad<B>(white ? tex : Mul255(tex, diffuse), row + px);
    }
    *tx_io = tx;
    return px;
}

// Texels x and x + 1 of row r, weighed left and right.
WIDE __m256i Lerp4(const uint32_t* r, int x, __m256i left, __m256i right) {
    const __m256i a = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(r + x)));
    const __m256i b = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(r + x + 1)));
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, left), _mm256_mullo_epi16(b, right)), 8);
}

template <Blend B>
__attribute__((target("avx2"))) int64_t ScrolledRowOf(uint32_t* row, int64_t px, int64_t xr, const uint32_t* r0,
                                                      const uint32_t* r1, int* x_io, int tex_w, int fx, int fy,
                                                      bool white, uint32_t color) {
    const __m256i left = _mm256_set1_epi16(static_cast<short>(256 - fx)), right = _mm256_set1_epi16(static_cast<short>(fx));
    const __m256i top = _mm256_set1_epi16(static_cast<short>(256 - fy)), bottom = _mm256_set1_epi16(static_cast<short>(fy));
    const __m256i diffuse = _mm256_cvtepu8_epi16(_mm_set1_epi32(static_cast<int>(color)));
    int x = *x_io;
    for (; px + 3 <= xr && x + 4 < tex_w; px += 4, x += 4) {
        __m256i tex = Lerp4(r0, x, left, right);
        // On the texel rows the row below weighs nothing.
        if (fy != 0)
            tex = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(tex, top),
                                                     _mm256_mullo_epi16(Lerp4(r1, x, left, right), bottom)),
                                    8);
        BlendQuad<B>(white ? tex : Mul255(tex, diffuse), row + px);
    }
    *x_io = x;
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

#else

int64_t TexelRow(Blend, uint32_t*, int64_t px, int64_t, const uint32_t*, int*, int, bool, uint32_t) { return px; }
int64_t ScrolledRow(Blend, uint32_t*, int64_t px, int64_t, const uint32_t*, const uint32_t*, int*, int, int, int, bool,
                    uint32_t) {
    return px;
}

#endif

}  // namespace plat::wide
