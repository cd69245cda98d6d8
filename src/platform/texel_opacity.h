#pragma once
// Which texels of a texture are opaque, for asking of any rectangle at once:
// per row, the count of texels short of opaque up to each column. Built once
// for a texture's contents and asked again each frame as a layer moves over
// it.
#include <cstdint>
#include <vector>

#include "platform/rasterizer.h"

namespace plat {

class TexelOpacity {
public:
    // Texture widths are at most kMaxTextureSize, so counts fit 16 bits.
    TexelOpacity(const uint32_t* texels, int width, int height);
    // Every texel of `rect` (inside the texture) has an alpha of 255.
    bool Opaque(const Rasterizer::TexelRect& rect) const;

private:
    int _stride;                   // width + 1
    std::vector<uint16_t> _counts;  // per row: count before column x, for x in 0..width
};

}  // namespace plat
