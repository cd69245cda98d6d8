#pragma once
// Which texels of a texture are opaque, for asking of any rectangle at once:
// a table of the counts of texels short of opaque above and left of each
// texel corner, so that a rectangle's count is four lookups. Built once for a
// texture's contents and asked again each frame as a layer moves over it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rasterizer.h"

namespace plat {

class TexelOpacity {
public:
    TexelOpacity(const uint32_t* texels, int width, int height);
    // Every texel of `rect` (inside the texture) has an alpha of 255.
    bool Opaque(const Rasterizer::TexelRect& rect) const;

private:
    uint32_t At(int x, int y) const { return _counts[static_cast<size_t>(y) * _stride + x]; }

    int _stride;                    // width + 1
    std::vector<uint32_t> _counts;  // (width + 1) x (height + 1): texels short of opaque in [0, x) x [0, y)
};

}  // namespace plat
