// Layout of strings by the bitmap-font container: glyph lookup, fallbacks,
// alignment, width.
#include <gtest/gtest.h>

#include <string>

#include "graphics/base_bitmap_font.h"

namespace {

// A font line of letters with the given left columns and right edge.
void AddLine(FontDesc& d, uint32_t top, uint32_t bottom, const std::string& letters,
             std::initializer_list<uint32_t> positions) {
    FontLine& line = d.lines[d.line_count++];
    line.y_top = top;
    line.y_bottom = bottom;
    line.letter_count = static_cast<uint32_t>(letters.size());
    size_t i = 0;
    for (char c : letters) line.letters[i++] = static_cast<uint8_t>(c);
    i = 0;
    for (uint32_t p : positions) line.positions[i++] = p;
}

// "A" 10 wide, "B" 20 wide, "$" 5 wide, all 20 high; with height 20 a quad is
// as wide as its letter.
FontDesc TestFont(bool with_dollar = true) {
    FontDesc d;
    d.texture = "Textures\\Fonts\\Test.png";
    AddLine(d, 0, 20, "AB", {0, 10, 30});
    if (with_dollar) AddLine(d, 21, 41, "$A", {0, 5, 15});  // the second "A" is never used
    return d;
}

struct FontFixture : ::testing::Test {
    CBaseBitmapFont font;
    void SetUp() override {
        ASSERT_EQ(font.AddFont(TestFont()), kFontOk);
        font.SetParams(0, 20.0f, 2.0f);
    }
};

TEST_F(FontFixture, GlyphTableTakesFirstOccurrenceAndLineEdges) {
    const FontGlyph& a = font.GetGlyph(0, 'A');
    EXPECT_EQ(a.present, 1);
    EXPECT_EQ(a.left, 0.0f);
    EXPECT_EQ(a.right, 10.0f);
    EXPECT_EQ(a.bottom, 20.0f);
    const FontGlyph& b = font.GetGlyph(0, 'B');
    EXPECT_EQ(b.right, 30.0f);  // the line's right edge
    EXPECT_EQ(font.GetGlyph(0, '$').top, 21.0f);
    EXPECT_EQ(font.GetGlyph(0, 'C').present, 0);
}

TEST_F(FontFixture, LeftAlignedQuadsFollowThePen) {
    ASSERT_EQ(font.BuildString(100, 50, "AB"), 2);
    EXPECT_EQ(font.ScreenRect(0), CFloatRect(100, 50, 110, 70));
    EXPECT_EQ(font.ScreenRect(1), CFloatRect(112, 50, 132, 70));
    EXPECT_EQ(font.TextureRect(1), CFloatRect(10, 0, 30, 20));
}

TEST_F(FontFixture, MissingGlyphsFallBackToDollarOrGap) {
    ASSERT_EQ(font.BuildString(0, 0, "AxB"), 3);
    EXPECT_EQ(font.TextureRect(1), CFloatRect(0, 21, 5, 41));
    EXPECT_EQ(font.ScreenRect(2).left, 10 + 2 + 5 + 2);

    CBaseBitmapFont bare;
    bare.AddFont(TestFont(false));
    bare.SetParams(0, 20.0f, 2.0f);
    ASSERT_EQ(bare.BuildString(0, 0, "AxB"), 2);
    EXPECT_EQ(bare.ScreenRect(1).left, 10 + 2 + 10);  // a gap of 10 without spacing
}

TEST_F(FontFixture, RightAndCentredAlignment) {
    // Right: the pen distance includes the last spacing, so the last glyph ends at x - spacing.
    font.SetAlignment(1);
    ASSERT_EQ(font.BuildString(200, 10, "AB"), 2);
    EXPECT_FLOAT_EQ(font.ScreenRect(1).right, 198.0f);
    EXPECT_FLOAT_EQ(font.ScreenRect(0).left, 200.0f - 34.0f);
    EXPECT_FLOAT_EQ(font.ScreenRect(0).top, 10.0f);

    // Centred: half the pen distance to the left and half the height up.
    font.SetAlignment(2);
    ASSERT_EQ(font.BuildString(200, 10, "AB"), 2);
    EXPECT_FLOAT_EQ(font.ScreenRect(0).left, 200.0f - 17.0f);
    EXPECT_FLOAT_EQ(font.ScreenRect(0).top, 0.0f);
    EXPECT_FLOAT_EQ(font.ScreenRect(1).bottom, 20.0f);
}

TEST_F(FontFixture, WidthLeavesOutTrailingSpacingAndKeepsAlignment) {
    font.SetAlignment(2);
    EXPECT_EQ(font.GetStringWidth("AB"), 32);  // 10 + 2 + 20
    EXPECT_EQ(font.GetAlignment(), 2);
    EXPECT_EQ(font.GetStringWidth("A"), 10);
    EXPECT_EQ(CBaseBitmapFont().GetStringWidth("AB"), 0);  // no font
    EXPECT_EQ(font.GetStringWidth(""), 0);
}

TEST_F(FontFixture, EmptyAndOverlongStrings) {
    EXPECT_EQ(font.BuildString(0, 0, ""), 0);
    EXPECT_EQ(font.BuildString(0, 0, std::string(600, 'A')), MAX_QUADS_IN_STRING);
    // The height scales the quad; the aspect of the glyph stays.
    font.SetHeight(40.0f);
    font.BuildString(0, 0, "B");
    EXPECT_EQ(font.ScreenRect(0), CFloatRect(0, 0, 40, 40));
}

TEST(BaseBitmapFont, ChecksAndFailures) {
    CBaseBitmapFont font;
    EXPECT_EQ(font.SetActiveFont(0), kFontFail);
    EXPECT_EQ(font.GetActiveFont(nullptr), kFontFail);
    uint32_t index = 99;
    for (int i = 0; i < MAX_FONTS_IN_CONTAINER; ++i) ASSERT_EQ(font.AddFont(TestFont(), &index), kFontOk);
    EXPECT_EQ(index, 255u);
    EXPECT_EQ(font.AddFont(TestFont(), &index), kFontFail);
    EXPECT_EQ(font.GetFontCount(), MAX_FONTS_IN_CONTAINER);
    EXPECT_EQ(font.SetActiveFont(3), kFontOk);
    EXPECT_EQ(font.SetActiveFont(256), kFontFail);
    int active = -1;
    EXPECT_EQ(font.GetActiveFont(&active), kFontOk);
    EXPECT_EQ(active, 3);
    EXPECT_EQ(font.SetAlignment(3), kFontFail);
    EXPECT_EQ(font.GetAlignment(), 0);
    font.Clear();
    EXPECT_EQ(font.BuildString(0, 0, "A"), 0);
}

TEST(BaseBitmapFont, ZeroHeightLineLaysOutWithoutWidth) {
    FontDesc d;
    AddLine(d, 5, 5, "A", {0, 10});
    CBaseBitmapFont font;
    font.AddFont(d);
    font.SetParams(0, 20.0f, 1.0f);
    ASSERT_EQ(font.BuildString(0, 0, "AA"), 2);
    EXPECT_EQ(font.ScreenRect(1).left, 1.0f);
    EXPECT_EQ(font.ScreenRect(1).right, 1.0f);
}

}  // namespace
