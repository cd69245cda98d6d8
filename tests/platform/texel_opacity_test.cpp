// A rectangle of texels is opaque (or clear) exactly when every texel in it is.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/texel_opacity.h"

using namespace plat;

namespace {

TEST(TexelOpacity, AnswersEveryRectangleAsItsTexelsDo) {
    std::mt19937 rng(5);
    for (const auto& [w, h] : {std::pair {1, 1}, std::pair {37, 23}, std::pair {64, 2}, std::pair {200, 9}}) {
        std::vector<uint32_t> texels(static_cast<size_t>(w) * h);
        // Opaque and clear areas, as layers have, with soft texels among them.
        for (size_t i = 0; i < texels.size(); ++i) {
            const uint32_t area = (i % w) < static_cast<size_t>(w) / 2 ? 0xFF000000u : 0u;
            texels[i] = (rng() % 9 ? area : (rng() % 256) << 24) | (rng() & 0xFFFFFF);
        }
        const TexelOpacity opacity(texels.data(), w, h);
        for (int round = 0; round < 2000; ++round) {
            Rasterizer::TexelRect r;
            r.s0 = static_cast<int>(rng() % w);
            r.s1 = r.s0 + static_cast<int>(rng() % (w - r.s0));
            r.t0 = static_cast<int>(rng() % h);
            r.t1 = r.t0 + static_cast<int>(rng() % (h - r.t0));
            bool opaque = true, clear = true;
            for (int y = r.t0; y <= r.t1; ++y)
                for (int x = r.s0; x <= r.s1; ++x) {
                    const uint32_t alpha = texels[static_cast<size_t>(y) * w + x] >> 24;
                    opaque = opaque && alpha == 0xFF;
                    clear = clear && alpha == 0;
                }
            ASSERT_EQ(opacity.Opaque(r), opaque) << w << "x" << h << " rect " << r.s0 << "," << r.t0 << " " << r.s1
                                                 << "," << r.t1;
            ASSERT_EQ(opacity.Clear(r), clear) << w << "x" << h << " rect " << r.s0 << "," << r.t0 << " " << r.s1
                                               << "," << r.t1;
        }
    }
}

}  // namespace
