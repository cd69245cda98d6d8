#include "platform/texel_opacity.h"

#include <cstddef>

namespace plat {

TexelOpacity::TexelOpacity(const uint32_t* texels, int width, int height)
    : _stride(width + 1), _counts(static_cast<size_t>(width + 1) * height) {
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = texels + static_cast<size_t>(y) * width;
        uint16_t* counts = _counts.data() + static_cast<size_t>(y) * _stride;
        uint16_t seen = 0;
        for (int x = 0; x < width; ++x) {
            counts[x] = seen;
            seen = static_cast<uint16_t>(seen + ((row[x] >> 24) != 0xFF));
        }
        counts[width] = seen;
    }
}

bool TexelOpacity::Opaque(const Rasterizer::TexelRect& rect) const {
    for (int y = rect.t0; y <= rect.t1; ++y) {
        const uint16_t* counts = _counts.data() + static_cast<size_t>(y) * _stride;
        if (counts[rect.s1 + 1] != counts[rect.s0]) return false;
    }
    return true;
}

}  // namespace plat
