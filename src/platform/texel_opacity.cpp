#include "platform/texel_opacity.h"

namespace plat {

TexelOpacity::TexelOpacity(const uint32_t* texels, int width, int height)
    : _words((static_cast<size_t>(width) + 63) / 64),
      _opaque(_words * height, 0),
      _clear(_opaque.size(), 0) {
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = texels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t alpha = row[x] >> 24;
            const size_t word = y * _words + x / 64;
            const uint64_t bit = uint64_t {1} << (x % 64);
            if (alpha == 0xFF) _opaque[word] |= bit;
            if (alpha == 0) {
                _clear[word] |= bit;
                _any_clear = true;
            }
        }
    }
}

bool TexelOpacity::AllSet(const Bits& bits, const Rasterizer::TexelRect& rect) const {
    const size_t first = static_cast<size_t>(rect.s0) / 64, last = static_cast<size_t>(rect.s1) / 64;
    const uint64_t head = ~uint64_t {0} << (rect.s0 % 64), tail = ~uint64_t {0} >> (63 - rect.s1 % 64);
    for (int y = rect.t0; y <= rect.t1; ++y) {
        const uint64_t* row = bits.data() + static_cast<size_t>(y) * _words;
        if (first == last) {
            if ((row[first] & head & tail) != (head & tail)) return false;
            continue;
        }
        if ((row[first] & head) != head || (row[last] & tail) != tail) return false;
        for (size_t w = first + 1; w < last; ++w)
            if (row[w] != ~uint64_t {0}) return false;
    }
    return true;
}

}  // namespace plat
