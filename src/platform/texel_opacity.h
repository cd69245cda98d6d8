#pragma once
// Which texels of a texture are opaque, and which clear, for asking of any
// rectangle: a bit per texel for each, so that a rectangle's row is a few
// words. Built once for a texture's contents and asked again each frame as a
// layer moves over it; small beside the texture.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rasterizer.h"

namespace plat {

class TexelOpacity {
public:
    TexelOpacity(const uint32_t* texels, int width, int height);
    // Every texel of `rect` (inside the texture) has an alpha of 255.
    bool Opaque(const Rasterizer::TexelRect& rect) const { return AllSet(_opaque, rect); }
    // Every texel of `rect` (inside the texture) has an alpha of 0.
    bool Clear(const Rasterizer::TexelRect& rect) const { return AllSet(_clear, rect); }
    // Some texel has an alpha of 0.
    bool AnyClear() const { return _any_clear; }

private:
    using Bits = std::vector<uint64_t>;  // row by row, `_words` words a row
    bool AllSet(const Bits& bits, const Rasterizer::TexelRect& rect) const;

    size_t _words;
    bool _any_clear = false;
    Bits _opaque, _clear;
};

}  // namespace plat
