#include "platform/rasterizer.h"

#include "platform/raster_wide_spans.h"
#include "platform/texel_footprint.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat {

namespace {

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

uint32_t Arg(uint32_t arg, uint32_t tex, uint32_t diffuse) { return (arg & 0xF) == 2 ? tex : diffuse; }

uint32_t ApplyOp(uint32_t op, uint32_t a1, uint32_t a2, int shift) {
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
uint32_t CombineGeneric(const RasterState& st, uint32_t tex, uint32_t diffuse) {
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

uint32_t Factor(uint32_t f, uint32_t src, uint32_t dst, int shift) {
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

inline int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
    int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

struct Plane {
    double a0 = 0, dx = 0, dy = 0;  // value at (0, 0) and gradients
    double At(double x, double y) const { return a0 + dx * x + dy * y; }
};

Plane MakePlane(const double x[3], const double y[3], double v0, double v1, double v2, double det) {
    Plane p;
    p.dx = ((v1 - v0) * (y[2] - y[0]) - (v2 - v0) * (y[1] - y[0])) / det;
    p.dy = ((v2 - v0) * (x[1] - x[0]) - (v1 - v0) * (x[2] - x[0])) / det;
    p.a0 = v0 - p.dx * x[0] - p.dy * y[0];
    return p;
}

struct Edge {
    int64_t dx, dy, xa, ya;
    int64_t threshold;  // 0 for top and left edges (their centres count), 1 otherwise
};

// The span bound an edge sets on each row: for a left edge (dy < 0) the first
// pixel centre inside, ceil((threshold - k) / (-dy * 256)); for a right edge
// (dy > 0) the last, floor((k - threshold) / (dy * 256)); where
// k = dx * (y * 256 - ya) + dy * xa grows by dx * 256 per row. The quotient is
// carried from row to row with its remainder, so it stays exact.
struct EdgeWalk {
    int64_t q = 0, r = 0, d = 1, step_q = 0, step_r = 0;

    void Start(const Edge& e, int y) {
        if (e.dy == 0) return;
        const int64_t k = e.dx * (static_cast<int64_t>(y) * 256 - e.ya) + e.dy * e.xa;
        int64_t n, step;
        if (e.dy < 0) {
            d = -e.dy * 256;
            n = e.threshold - k + d - 1;  // ceil(a / d) == floor((a + d - 1) / d)
            step = -e.dx * 256;
        } else {
            d = e.dy * 256;
            n = k - e.threshold;
            step = e.dx * 256;
        }
        q = FloorDiv(n, d);
        r = n - q * d;
        step_q = FloorDiv(step, d);
        step_r = step - step_q * d;
    }
    void Next() {
        // Without a branch: the carry follows no pattern a predictor learns.
        const int64_t carry = (r += step_r) >= d;
        q += step_q + carry;
        r -= d & -carry;
    }
};

// std::llrint, rounding to nearest even, without the library call: every row
// of every triangle converts its attributes. (Values are held in range, so
// the conversion never overflows.)
inline int64_t RoundToInt(double v) {
#if defined(__SSE2__) && defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(v));
#else
    return std::llrint(v);
#endif
}

// Positions are held within a million pixels of the screen, so the edge
// products below stay inside 64 bits.
inline int32_t ToFixed8(double v) {
    v = std::clamp(v, -1.0e6, 1.0e6);
    return static_cast<int32_t>(RoundToInt(v * 256.0));
}

// 16.16 fixed point, kept within a range where stepping across a row cannot overflow.
inline int64_t ToFixed16(double v) { return RoundToInt(std::clamp(v, -4.0e6, 4.0e6) * 65536.0); }

// From 16.16 to the sampler's 24.8, rounded, so that values a hair off a texel
// centre still land on it.
inline int32_t To24_8(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>((v + 128) >> 8, -(1 << 30), 1 << 30)); }

enum StageKind { kStageModulate, kStageGeneric };

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

struct Setup {
    Edge edges[3];
    int y_begin, y_end;  // rows [y_begin, y_end)
    int x_begin, x_end;  // columns [x_begin, x_end)
    Plane s, t;          // texel-centre coordinates
    Plane r, g, b, a;
    bool uniform_color;
    uint32_t color;
};

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
__attribute__((always_inline)) inline void FillSpan(uint32_t* __restrict row, const Span& span, const SpanFill& fill,
                                                    const RasterState& st) {
    // Local copies: stores into the target must not make the compiler reload them.
    const Sampler sampler = fill.sampler;
    const uint32_t color = fill.color;
    const bool uniform = fill.uniform, white = fill.white, wide_lanes = fill.wide_lanes;
    const int64_t ds = fill.ds, dt = fill.dt, dr = fill.dr, dg = fill.dg, db = fill.db, da = fill.da;
    const int64_t xl = span.xl, xr = span.xr;
    int64_t s = span.s, t = span.t, r = span.r, g = span.g, b = span.b, a = span.a;
    if constexpr (Textured && S == kStageModulate) {
        // A sprite drawn texel for texel: every pixel centre on a texel centre
        // of one texture row, so each pixel is one texel.
        if (uniform && ds == 65536 && dt == 0 && ((s | t) & 0xFFFF) == 0 && !sampler.wrap_u) {
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
            return;
        }
#if defined(__SSE2__)
        // Filtered, clamped and one colour: the whole pixel in lanes.
        if constexpr (B != kGeneric) {
            if (uniform && sampler.linear && !sampler.wrap_u && !sampler.wrap_v) {
                const __m128i diffuse = Lanes(color);
                const __m128i diffuse2 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), _mm_setzero_si128());
                // One pixel from its own sample (the texels clamped), at s, t.
                auto one_pixel = [&](int64_t px) __attribute__((always_inline)) {
                    const __m128i tex = SampleClampLanes(sampler, To24_8(s), To24_8(t));
                    const __m128i src = white ? tex : Mul255Lanes(tex, diffuse);
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
                };
                // Rows above or below the texture are its edge rows, as
                // clamping makes them.
                auto texel_row = [&](int y) __attribute__((always_inline)) {
                    return sampler.texels + static_cast<size_t>(std::clamp(y, 0, sampler.h - 1)) * sampler.w;
                };
                int64_t px = xl;
                if (ds == 65536 && dt == 0) {
                    // Moved by a fraction of a pixel, neither scaled nor turned
                    // (a scrolling layer): every pixel of the row weighs its
                    // texels alike.
                    const int32_t s24 = To24_8(s), t24 = To24_8(t);
                    const int y0 = t24 >> 8;
                    int x = s24 >> 8;
                    // The pixels left of the texture's first texel (a layer
                    // scrolled in from the left) one by one, each a column on.
                    for (; px <= xr && x < 0; ++px, ++x, s += ds) one_pixel(px);
                    const ScrollWeights wt(s24 & 0xFF, t24 & 0xFF);
                    const uint32_t* r0 = texel_row(y0);
                    const uint32_t* r1 = texel_row(y0 + 1);
                    if (x >= 0 && wide_lanes && px <= xr) {
                        const int64_t from = px;
                        px = wide::ScrolledRow(WideBlend<B>(), row, px, xr, r0, r1, &x, sampler.w, s24 & 0xFF,
                                               t24 & 0xFF, white, color);
                        s += (px - from) * ds;
                    }
                    if ((t24 & 0xFF) == 0) {
                        // On the texel rows (moved sideways only): the row
                        // below weighs nothing.
                        for (; px < xr && x >= 0 && x + 2 < sampler.w; px += 2, x += 2, s += 2 * ds) {
                            const __m128i tex = ScrolledRowPair(r0, x, wt);
                            BlendPair<B>(white ? tex : Mul255Lanes(tex, diffuse2), row + px);
                        }
                    }
                    for (; px < xr && x >= 0 && x + 2 < sampler.w; px += 2, x += 2, s += 2 * ds) {
                        const __m128i tex = ScrolledPair(r0, r1, x, wt);
                        BlendPair<B>(white ? tex : Mul255Lanes(tex, diffuse2), row + px);
                    }
                }
                if (dt == 0 && px < xr) {
                    // Stretched along the row only (a scaled panel): one pair
                    // of texture rows for the whole span, and where each
                    // pixel's two texels lie inside the texture no clamping.
                    const int32_t t24 = To24_8(t);
                    const int y0 = t24 >> 8;
                    auto inside = [&](int64_t p) __attribute__((always_inline)) {
                        const int32_t s24 = To24_8(s + (p - px) * ds);
                        return s24 >= 0 && (s24 >> 8) < sampler.w - 1;
                    };
                    // The pixels at either end whose texels reach past the
                    // texture's edge (a sprite or panel stretched over its
                    // whole texture) one by one, the rest as a run.
                    for (; px <= xr && !inside(px); ++px, s += ds) one_pixel(px);
                    int64_t xe = xr;
                    while (xe >= px && !inside(xe)) --xe;
                    if (px <= xe) {
                        const uint32_t* r0 = texel_row(y0);
                        const uint32_t* r1 = texel_row(y0 + 1);
                        const StretchedRow rows(r0, r1, t24 & 0xFF);
                        if (ds > 0 && ds <= 32768) {
                            // Magnified: runs of pixels share a pair of texel
                            // columns, and where the pair is alike in both
                            // rows (a panel shaded from top to bottom) the
                            // whole run is one colour, whatever its fractions.
                            while (px <= xe) {
                                const int x = static_cast<int>((s + 128) >> 16);
                                const int64_t left = ((static_cast<int64_t>(x) + 1) << 16) - 128 - s;
                                const int64_t n = std::min((left + ds - 1) / ds, xe - px + 1);
                                if (r0[x] == r0[x + 1] && r1[x] == r1[x + 1]) {
                                    const __m128i v = rows.Sample(static_cast<int32_t>((s + 128) >> 8));
                                    const uint32_t tex = static_cast<uint32_t>(
                                        _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(v, v), v)));
                                    FillUniformSpan<B>(row, px, px + n - 1, white ? tex : Modulate(tex, color));
                                    px += n;
                                    s += n * ds;
                                    continue;
                                }
                                for (const int64_t end = px + n; px < end; ++px, s += ds) {
                                    const __m128i tex = _mm_packs_epi32(rows.Sample(static_cast<int32_t>((s + 128) >> 8)),
                                                                        _mm_setzero_si128());
                                    const __m128i src = white ? tex : Mul255Lanes(tex, diffuse);
                                    const uint32_t alpha = AlphaLane(src);
                                    if (B != kOpaque && alpha == 0) continue;  // the target stays
                                    row[px] = BlendLanes<B>(src, row[px]);
                                }
                            }
                        }
                        if (wide_lanes && px <= xe && sampler.w <= 65536) {
                            const int64_t from = px;
                            px = wide::StretchedRow(WideBlend<B>(), row, px, xe, r0, r1, sampler.w, s, ds, t24 & 0xFF,
                                                    white, color);
                            s += (px - from) * ds;
                        }
                        for (; px < xe; px += 2) {
                            const __m128i v0 = rows.Sample(static_cast<int32_t>((s + 128) >> 8));
                            s += ds;
                            const __m128i v1 = rows.Sample(static_cast<int32_t>((s + 128) >> 8));
                            s += ds;
                            const __m128i tex = _mm_packs_epi32(v0, v1);
                            BlendPair<B>(white ? tex : Mul255Lanes(tex, diffuse2), row + px);
                        }
                    }
                }
                if (wide_lanes && px <= xr) {
                    const int64_t from = px;
                    px = wide::FilteredRow(WideBlend<B>(), row, px, xr, sampler.texels, sampler.w, sampler.h, s, ds, t,
                                           dt, white, color);
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
                    BlendPair<B>(white ? tex : Mul255Lanes(tex, diffuse2), row + px);
                }
                for (; px <= xr; ++px, s += ds, t += dt) one_pixel(px);
                return;
            }
        }
#endif
    }
    if constexpr (!Textured && S == kStageModulate && B != kGeneric) {
        // One colour and no texture: the source is the same at every pixel.
        if (uniform && FillUniformSpan<B>(row, xl, xr, color)) return;
    }
    for (int64_t px = xl; px <= xr; ++px) {
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

template <bool Textured, StageKind S, BlendKind B>
void FillRows(uint32_t* target, int width, const Setup& su, const Sampler& sampler, const RasterState& st) {
    const SpanFill fill(su, sampler);
    RowWalker<Textured> rows(su, fill, width);
    Span span;
    for (int py = su.y_begin; py < su.y_end; ++py)
        if (rows.Row(py, &span)) FillSpan<Textured, S, B>(target + static_cast<size_t>(py) * width, span, fill, st);
}

// Two triangles drawn one after the other, row by row: each row gets the
// first one's span and then the second one's, as when drawn one by one. Where
// the two spans meet (the halves of a quad) and the second carries on the
// first one's values, they are filled as one.
// An axis-aligned quad whose pixels' values are known without walking its
// halves' edges: together the halves cover the rectangle (the shared diagonal
// gives each pixel to one of them), and every value rounds alike whichever
// half's plane gives it and wherever along its row the half's span starts.
struct QuadRows {
    int x_begin = 0, x_end = 0, y_begin = 0, y_end = 0;  // the pixels [x_begin, x_end) x [y_begin, y_end)
    uint32_t color = 0;
    int64_t s = 0;   // 16.16 at x_begin (the same on every row)
    Plane s_plane, t_plane;  // t: one value a row
};

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

bool IsModulatePair(uint32_t op, uint32_t a1, uint32_t a2) {
    return op == 4 && (((a1 & 0xF) == 2 && (a2 & 0xF) != 2) || ((a2 & 0xF) == 2 && (a1 & 0xF) != 2));
}

// The quad's corner (0..3: bit 0 right, bit 1 bottom) a vertex sits on, or -1.
int CornerOf(const ScreenVertex& v, float left, float top, float right, float bottom) {
    const int cx = v.x == left ? 0 : (v.x == right ? 1 : -1);
    const int cy = v.y == top ? 0 : (v.y == bottom ? 2 : -1);
    return (cx < 0 || cy < 0) ? -1 : cx | cy;
}

// The corner a triangle on three distinct corners leaves out, or -1.
int MissingCorner(const ScreenVertex t[3], float left, float top, float right, float bottom) {
    int seen = 0;
    for (int i = 0; i < 3; ++i) {
        const int c = CornerOf(t[i], left, top, right, bottom);
        if (c < 0 || (seen & (1 << c))) return -1;
        seen |= 1 << c;
    }
    for (int c = 0; c < 4; ++c)
        if (!(seen & (1 << c))) return c;
    return -1;
}

bool Culled(const ScreenVertex t[3], uint32_t cull) {
    const double area = (static_cast<double>(t[1].x) - t[0].x) * (static_cast<double>(t[2].y) - t[0].y) -
                        (static_cast<double>(t[1].y) - t[0].y) * (static_cast<double>(t[2].x) - t[0].x);
    return area == 0 || (cull == 3 && area < 0) || (cull == 2 && area > 0);
}

}  // namespace

bool Rasterizer::PairReplaces(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st, int x0, int y0,
                              int x1, int y1, TexelRect* must_be_opaque) {
    *must_be_opaque = TexelRect {};
    float left = a[0].x, right = a[0].x, top = a[0].y, bottom = a[0].y;
    for (const ScreenVertex* t : {a, b})
        for (int i = 0; i < 3; ++i) {
            left = std::min(left, t[i].x);
            right = std::max(right, t[i].x);
            top = std::min(top, t[i].y);
            bottom = std::max(bottom, t[i].y);
        }
    // Every pixel centre of the rectangle inside, with room for the snapping
    // of the vertices to 1/256 of a pixel.
    constexpr float kMargin = 1.0f / 64;
    if (!(left <= x0 - kMargin && right >= x1 - 1 + kMargin && top <= y0 - kMargin && bottom >= y1 - 1 + kMargin))
        return false;
    // Two halves of the quad on either side of one diagonal.
    const int ma = MissingCorner(a, left, top, right, bottom), mb = MissingCorner(b, left, top, right, bottom);
    if (ma < 0 || mb < 0 || (ma ^ mb) != 3) return false;
    if (Culled(a, st.cull) || Culled(b, st.cull)) return false;

    const bool replace = !st.blend || (st.src_blend == 2 && st.dest_blend == 1);
    if (replace) return true;
    if (!(st.src_blend == 5 && st.dest_blend == 6)) return false;
    // With an opaque diffuse colour and opaque texels every texture stage
    // operation gives an opaque alpha.
    for (const ScreenVertex* t : {a, b})
        for (int i = 0; i < 3; ++i)
            if ((t[i].color >> 24) != 0xFF) return false;
    const bool textured = st.texels && st.tex_width > 0 && st.tex_height > 0;
    if (!textured) return true;
    if (st.wrap_u || st.wrap_v) return false;

    // The texel coordinates over the rectangle, from the first half's corners
    // (the second half must map alike).
    const TexelFootprint footprint(a, st);
    if (!footprint.Known()) return false;
    for (int i = 0; i < 3; ++i)
        if (!(std::fabs(footprint.S(b[i].x, b[i].y) - b[i].u * st.tex_width) <= 1e-3 &&
              std::fabs(footprint.T(b[i].x, b[i].y) - b[i].v * st.tex_height) <= 1e-3))
            return false;
    return footprint.In(x0, y0, x1, y1, must_be_opaque);
}

namespace {

bool Textured(const RasterState& st) { return st.texels && st.tex_width > 0 && st.tex_height > 0; }

BlendKind BlendOf(const RasterState& st) {
    if (!st.blend) return kOpaque;
    if (st.src_blend == 5 && st.dest_blend == 6) return kAlpha;
    if (st.src_blend == 5 && st.dest_blend == 2) return kAdditive;
    if (st.src_blend == 2 && st.dest_blend == 1) return kOpaque;
    return kGeneric;
}

bool Modulates(const RasterState& st) {
    return IsModulatePair(st.color_op, st.color_arg1, st.color_arg2) &&
           IsModulatePair(st.alpha_op, st.alpha_arg1, st.alpha_arg2);
}

// The part of the target a rasteriser draws into.
struct Bounds {
    int width, height;
    int row_begin, row_end, col_begin, col_end;
};

// A triangle's edges and attribute planes; false when it is culled or covers
// no pixel centre of the bounds.
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

// How far (in 1/65536 of a texel) a value may lie from a rounding boundary of
// ToFixed16 for the planes of both halves to round it alike, and how far the
// planes may drift from exact steps over the quad.
constexpr double kRoundingMargin = 1e-4, kDrift = 1e-6;

// Whether the pixels of v * 65536, rounded, are known whatever plane of the
// two gives them: well away from a rounding boundary and inside ToFixed16's range.
bool RoundsClearly(double v) {
    if (!(std::fabs(v) < 4.0e6)) return false;
    const double x = v * 65536.0;
    return std::fabs(x - std::floor(x) - 0.5) >= kRoundingMargin;
}

// Whether `a` and `b` are the halves of an axis-aligned quad, neither culled,
// drawn in one colour, whose texel columns step by an exact 16.16 amount and
// whose rows each sit on one texel row value; if so, its pixels in the bounds.
bool QuadOf(const ScreenVertex a[3], const ScreenVertex b[3], const RasterState& st, const Bounds& bounds,
            QuadRows* quad) {
    const uint32_t color = a[0].color;
    float left = a[0].x, right = a[0].x, top = a[0].y, bottom = a[0].y;
    for (const ScreenVertex* h : {a, b})
        for (int i = 0; i < 3; ++i) {
            if (h[i].color != color || !std::isfinite(h[i].x) || !std::isfinite(h[i].y)) return false;
            left = std::min(left, h[i].x);
            right = std::max(right, h[i].x);
            top = std::min(top, h[i].y);
            bottom = std::max(bottom, h[i].y);
        }
    // Each half on three corners (0..3: bit 0 right, bit 1 bottom), on
    // either side of one diagonal.
    int corner_of[2][3];
    const ScreenVertex* corner[4] = {};
    int seen[2] = {0, 0};
    const ScreenVertex* halves[2] = {a, b};
    for (int h = 0; h < 2; ++h)
        for (int i = 0; i < 3; ++i) {
            const int c = CornerOf(halves[h][i], left, top, right, bottom);
            if (c < 0 || (seen[h] & (1 << c))) return false;
            seen[h] |= 1 << c;
            corner_of[h][i] = c;
            corner[c] = &halves[h][i];
        }
    if ((seen[0] ^ seen[1]) != 0b1001 && (seen[0] ^ seen[1]) != 0b0110) return false;
    const int32_t corner_x[2] = {ToFixed8(left), ToFixed8(right)}, corner_y[2] = {ToFixed8(top), ToFixed8(bottom)};
    if (corner_x[0] == corner_x[1] || corner_y[0] == corner_y[1]) return false;
    for (int h = 0; h < 2; ++h) {
        int32_t X[3], Y[3];
        for (int i = 0; i < 3; ++i) {
            X[i] = corner_x[corner_of[h][i] & 1];
            Y[i] = corner_y[corner_of[h][i] >> 1];
        }
        const int64_t area =
            static_cast<int64_t>(X[1] - X[0]) * (Y[2] - Y[0]) - static_cast<int64_t>(Y[1] - Y[0]) * (X[2] - X[0]);
        if ((st.cull == 3 && area < 0) || (st.cull == 2 && area > 0)) return false;
    }
    // Left and top edges take the pixel centres on them, right and bottom ones don't.
    quad->x_begin = static_cast<int>(std::max<int64_t>(CeilDiv(corner_x[0], 256), std::max(0, bounds.col_begin)));
    quad->x_end = static_cast<int>(std::min<int64_t>(CeilDiv(corner_x[1], 256), std::min(bounds.width, bounds.col_end)));
    quad->y_begin = static_cast<int>(std::max<int64_t>(CeilDiv(corner_y[0], 256), std::max(0, bounds.row_begin)));
    quad->y_end = static_cast<int>(std::min<int64_t>(CeilDiv(corner_y[1], 256), std::min(bounds.height, bounds.row_end)));
    quad->color = color;
    quad->s = 0;
    if (!Textured(st) || quad->x_begin >= quad->x_end || quad->y_begin >= quad->y_end) return true;

    // The texel coordinates as one affine map of the corners (snapped as
    // drawing snaps them). Where the four corners fit one map, both halves'
    // planes are that map; where the fourth is off by e, they part by at
    // most e anywhere inside.
    const double columns = quad->x_end - quad->x_begin, rows = quad->y_end - quad->y_begin;
    const double x0 = corner_x[0] / 256.0, y0 = corner_y[0] / 256.0;
    const double per_x = 256.0 / (corner_x[1] - corner_x[0]), per_y = 256.0 / (corner_y[1] - corner_y[0]);
    auto affine = [&](double top_left, double top_right, double bottom_left, double bottom_right, double size,
                      Plane* p) {
        p->dx = (top_right - top_left) * size * per_x;
        p->dy = (bottom_left - top_left) * size * per_y;
        p->a0 = top_left * size - 0.5 - p->dx * x0 - p->dy * y0;
        return std::fabs((top_left + bottom_right - top_right - bottom_left) * size) * 65536.0 < kDrift;
    };
    Plane s, t;
    if (!affine(corner[0]->u, corner[1]->u, corner[2]->u, corner[3]->u, st.tex_width, &s) ||
        !affine(corner[0]->v, corner[1]->v, corner[2]->v, corner[3]->v, st.tex_height, &t))
        return false;
    const double ds = s.dx * 65536.0;
    if (std::fabs(ds - std::round(ds)) * columns >= kDrift || std::fabs(s.dy * 65536.0) * rows >= kDrift ||
        std::fabs(t.dx * 65536.0) * columns >= kDrift)
        return false;
    // Stepping by a whole 16.16 amount keeps the column's fraction, so one
    // check holds the whole row.
    if (!RoundsClearly(s.At(quad->x_begin, quad->y_begin))) return false;
    // Rows a whole 16.16 amount apart (texel rows one to a pixel) share it too.
    const double dt = t.dy * 65536.0;
    const int check_rows = std::fabs(dt - std::round(dt)) * rows < kDrift ? quad->y_begin + 1 : quad->y_end;
    for (int y = quad->y_begin; y < check_rows; ++y)
        if (!RoundsClearly(t.At(quad->x_begin, y))) return false;
    quad->s = ToFixed16(s.At(quad->x_begin, quad->y_begin));
    quad->s_plane = s;
    quad->t_plane = t;
    return true;
}

}  // namespace

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
