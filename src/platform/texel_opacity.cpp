#include "platform/texel_opacity.h"

namespace plat {

TexelOpacity::TexelOpacity(const uint32_t* texels, int width, int height)
    : _stride(width + 1), _counts(static_cast<size_t>(width + 1) * (height + 1), 0) {
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = texels + static_cast<size_t>(y) * width;
        const uint32_t* above = _counts.data() + static_cast<size_t>(y) * _stride;
        uint32_t* counts = _counts.data() + static_cast<size_t>(y + 1) * _stride;
        uint32_t in_row = 0;
        for (int x = 0; x < width; ++x) {
            in_row += (row[x] >> 24) != 0xFF;
            counts[x + 1] = above[x + 1] + in_row;
        }
    }
}

bool TexelOpacity::Opaque(const Rasterizer::TexelRect& rect) const {
    const int x0 = rect.s0, x1 = rect.s1 + 1, y0 = rect.t0, y1 = rect.t1 + 1;
    return At(x1, y1) - At(x0, y1) - At(x1, y0) + At(x0, y0) == 0;
}

}  // namespace plat
