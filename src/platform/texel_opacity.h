#pragma once
// Which texels of a texture are opaque, and which clear, for asking of any
// rectangle at once: tables of the counts of texels short of opaque, and of
// texels not clear, above and left of each texel corner, so that a
// rectangle's count is four lookups. Built once for a texture's contents and
// asked again each frame as a layer moves over it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rasterizer.h"

namespace plat {

class TexelOpacity {
public:
    TexelOpacity(const uint32_t* texels, int width, int height);
    // Every texel of `rect` (inside the texture) has an alpha of 255.
    bool Opaque(const Rasterizer::TexelRect& rect) const { return Count(_short_of_opaque, rect) == 0; }
    // Every texel of `rect` (inside the texture) has an alpha of 0.
    bool Clear(const Rasterizer::TexelRect& rect) const { return Count(_not_clear, rect) == 0; }

private:
    // (width + 1) x (height + 1): how many texels in [0, x) x [0, y) are counted.
    using Table = std::vector<uint32_t>;
    uint32_t Count(const Table& table, const Rasterizer::TexelRect& rect) const;

    int _stride;  // width + 1
    Table _short_of_opaque, _not_clear;
};

}  // namespace plat
