#include "platform/texel_opacity.h"

namespace plat {

TexelOpacity::TexelOpacity(const uint32_t* texels, int width, int height)
    : _stride(width + 1),
      _short_of_opaque(static_cast<size_t>(width + 1) * (height + 1), 0),
      _not_clear(_short_of_opaque.size(), 0) {
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = texels + static_cast<size_t>(y) * width;
        const size_t above = static_cast<size_t>(y) * _stride, here = above + _stride;
        uint32_t soft = 0, seen = 0;
        for (int x = 0; x < width; ++x) {
            const uint32_t alpha = row[x] >> 24;
            soft += alpha != 0xFF;
            seen += alpha != 0;
            _short_of_opaque[here + x + 1] = _short_of_opaque[above + x + 1] + soft;
            _not_clear[here + x + 1] = _not_clear[above + x + 1] + seen;
        }
    }
}

uint32_t TexelOpacity::Count(const Table& table, const Rasterizer::TexelRect& rect) const {
    auto at = [&](int x, int y) { return table[static_cast<size_t>(y) * _stride + x]; };
    const int x0 = rect.s0, x1 = rect.s1 + 1, y0 = rect.t0, y1 = rect.t1 + 1;
    return at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0);
}

}  // namespace plat
