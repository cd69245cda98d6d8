// Labels printed through the engine core and the real render device, read back
// pixel by pixel: glyphs where the layout puts them, the shadow beneath at its
// offset, the label's colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core_test_support.h"
#include "graphics/font_keeper.h"
#include "graphics/font_test_support.h"
#include "graphics/textured_rects_list.h"

using namespace gfx_test;

namespace {

constexpr uint32_t kBackground = 0xFF404040;

int Channel(uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

bool Near(uint32_t a, uint32_t b, int tolerance = 2) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
    return true;
}

class FontRenderTest : public CoreTest {};

TEST_F(FontRenderTest, GlyphShadowAndColourInPixels) {
    {
        font_test::WriteTestData();
        CFontKeeper keeper;
        keeper.SelectLanguage(0);
        // "shadowed": an "A" 10x10 in FF00FF00 over a 50% black shadow moved by (2, 3).
        BeginDraw(kBackground);
        ASSERT_TRUE(keeper.PrintLabel(100, 100, "shadowed"));
        const auto px = ReadBack();
        EXPECT_EQ(At(px, 100, 100), 0xFF00FF00u);
        EXPECT_EQ(At(px, 109, 109), 0xFF00FF00u);  // the glyph covers its shadow
        EXPECT_TRUE(Near(At(px, 111, 112), 0xFF202020)) << std::hex << At(px, 111, 112);
        EXPECT_TRUE(Near(At(px, 103, 111), 0xFF202020)) << std::hex << At(px, 103, 111);
        EXPECT_EQ(At(px, 99, 105), kBackground);
        EXPECT_EQ(At(px, 101, 101 + 12), kBackground);
        EXPECT_EQ(At(px, 112, 105), kBackground);
        EXPECT_EQ(At(px, 105, 113), kBackground);
        EXPECT_EQ(At(px, 101, 102), 0xFF00FF00u);

        // A second line 1.01 heights below, with its argument: "AB" then "12".
        BeginDraw(kBackground);
        ASSERT_TRUE(keeper.PrintLabel(200, 200, "two", 12));
        const auto lines = ReadBack();
        EXPECT_EQ(At(lines, 205, 205), 0xFFFFFFFFu);  // "A"
        EXPECT_EQ(At(lines, 215, 205), 0xFFFFFFFFu);  // "B"
        EXPECT_EQ(At(lines, 202, 215), 0xFFFFFFFFu);  // "1" on the second line
        EXPECT_EQ(At(lines, 212, 215), kBackground);  // "12" is only 10 wide
        EXPECT_EQ(core_->GetDrawCalls() > 0, true);
    }
}

TEST_F(FontRenderTest, ShippedHeadingLabelDrawsInsideItsLayout) {
    std::filesystem::current_path(VOVARO_DATA_DIR);
    {
        CFontKeeper keeper;
        keeper.SelectLanguage(1);
        const LabelDesc label = keeper.GetLabel("GameOver");
        ASSERT_EQ(label.alignment, 2);
        // Where the layout puts the glyphs (and their shadows).
        CTexturedRectsList layout;
        ASSERT_TRUE(keeper.LayoutLabelArgs(&layout, 400, 300, "GameOver", PrintfArg(), PrintfArg()));
        ASSERT_GT(layout.GetCount(), 0);
        float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
        for (int i = 0; i < layout.GetCount(); ++i) {
            const ATexturedRect* q = layout.GetRect(i);
            left = std::min(left, q->GetLeft());
            top = std::min(top, q->GetTop());
            right = std::max(right, q->GetRight());
            bottom = std::max(bottom, q->GetBottom());
        }
        EXPECT_NEAR((left + right - label.style.shadow_offset.x) / 2, 400.0f, 4.0f);  // centred

        BeginDraw(kBackground);
        ASSERT_TRUE(keeper.PrintLabel(400, 300, "GameOver"));
        const auto px = ReadBack();
        int inside = 0, coloured = 0, outside = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint32_t p = At(px, x, y);
                const bool in = x >= left - 1 && x <= right + 1 && y >= top - 1 && y <= bottom + 1;
                if (p == kBackground) continue;
                if (!in) ++outside;
                ++inside;
                if (Near(p, label.style.color, 6)) ++coloured;
            }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, 500);
        EXPECT_GT(coloured, 100);  // the glyphs' inside shows the label colour
    }
}

}  // namespace
