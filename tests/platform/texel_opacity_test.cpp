// A rectangle of texels is opaque exactly when every texel in it is.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/texel_opacity.h"

using namespace plat;

namespace {

TEST(TexelOpacity, AnswersEveryRectangleAsItsTexelsDo) {
    std::mt19937 rng(5);
    for (const auto& [w, h] : {std::pair {1, 1}, std::pair {37, 23}, std::pair {64, 2}}) {
        std::vector<uint32_t> texels(static_cast<size_t>(w) * h);
        // Mostly opaque, as hiding layers are, with soft and clear texels among them.
        for (uint32_t& t : texels) t = (rng() % 9 ? 0xFF000000u : (rng() % 255) << 24) | (rng() & 0xFFFFFF);
        const TexelOpacity opacity(texels.data(), w, h);
        for (int round = 0; round < 2000; ++round) {
            Rasterizer::TexelRect r;
            r.s0 = static_cast<int>(rng() % w);
            r.s1 = r.s0 + static_cast<int>(rng() % (w - r.s0));
            r.t0 = static_cast<int>(rng() % h);
            r.t1 = r.t0 + static_cast<int>(rng() % (h - r.t0));
            bool all = true;
            for (int y = r.t0; y <= r.t1; ++y)
                for (int x = r.s0; x <= r.s1; ++x) all = all && (texels[static_cast<size_t>(y) * w + x] >> 24) == 0xFF;
            ASSERT_EQ(opacity.Opaque(r), all) << w << "x" << h << " rect " << r.s0 << "," << r.t0 << " " << r.s1 << ","
                                              << r.t1;
        }
    }
}

}  // namespace
