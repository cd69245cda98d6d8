// The nine-piece frame: how many pieces each border gets, where the glass
// goes, what is left out, and the skin read from a kind node.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/data_test_support.h"
#include "engine/xml_file.h"
#include "graphics/textured_rects_list.h"
#include "gui/frame_skin.h"

namespace {

std::vector<CFloatRect> Quads(const CTexturedRectsList& list) {
    std::vector<CFloatRect> out;
    auto& l = const_cast<CTexturedRectsList&>(list);
    for (int i = 0; i < l.GetCount(); ++i) out.push_back(l.GetRect(i)->GetRect());
    return out;
}

// The log of each test from its start.
class FrameGlassTest : public data_test::ScratchTest {};

// Corners 10x10 without displacement, a top border of 16x8.
FrameSkin TopOnly() {
    FrameSkin s;
    s.top = {16, 8, CFloatRect(0, 0, 16, 8)};
    s.top_left = {10, 10, CFloatRect(), 0, 0};
    s.top_right = {10, 10, CFloatRect(), 0, 0};
    return s;
}

TEST(BuildFrame, TopBorderPieceCountsAndCoverage) {
    struct Case {
        float width;
        int pieces;
        float last_right;  // relative to the left edge
    };
    // (90 - 10) / 16 = 5 pieces covering 10..90; one pixel more still gives 5.
    for (const Case& c : {Case {100, 5, 90}, Case {101, 5, 90}, Case {20, 0, 0}, Case {10, 0, 0}}) {
        CTexturedRectsList list;
        BuildFrame(list, CFloatRect(50, 40, 50 + c.width, 140), TopOnly());
        const auto q = Quads(list);
        ASSERT_EQ(q.size(), static_cast<size_t>(c.pieces + 2)) << c.width;  // + two top corners
        for (int i = 0; i < c.pieces; ++i) {
            EXPECT_EQ(q[static_cast<size_t>(i)], CFloatRect(60.0f + 16.0f * i, 40, 76.0f + 16.0f * i, 48));
        }
        if (c.pieces) {
            EXPECT_EQ(q[static_cast<size_t>(c.pieces - 1)].right, 50 + c.last_right);
        }
        // The corners come last: top-left, then top-right.
        EXPECT_EQ(q[q.size() - 2], CFloatRect(50, 40, 60, 50));
        EXPECT_EQ(q[q.size() - 1], CFloatRect(40 + c.width, 40, 50 + c.width, 50));
    }
}

TEST(BuildFrame, GlassStretchedWithMarginsOrTiled) {
    FrameSkin s;
    s.glass = CFloatRect(0, 0, 32, 32);
    CTexturedRectsList list;
    BuildFrame(list, CFloatRect(10, 20, 110, 90), s);
    EXPECT_EQ(Quads(list), (std::vector<CFloatRect> {CFloatRect(10, 20, 110, 90)}));

    s.mg_right = -8;
    BuildFrame(list, CFloatRect(10, 20, 110, 90), s);
    EXPECT_EQ(Quads(list)[0], CFloatRect(10, 20, 102, 90));

    // Tiled: an inner area of 100x70 holds 3 columns and 2 rows; the rest stays bare.
    s.mg_right = 0;
    s.tiled = true;
    BuildFrame(list, CFloatRect(10, 20, 110, 90), s);
    const auto q = Quads(list);
    ASSERT_EQ(q.size(), 6u);
    EXPECT_EQ(q[0], CFloatRect(10, 20, 42, 52));
    EXPECT_EQ(q[2], CFloatRect(74, 20, 106, 52));
    EXPECT_EQ(q[5], CFloatRect(74, 52, 106, 84));

    // No glass rectangle, no glass.
    s.glass = CFloatRect(5, 5, 5, 40);
    BuildFrame(list, CFloatRect(10, 20, 110, 90), s);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(BuildFrame, AllPiecesInOrderWithDisplacedCorners) {
    FrameSkin s;
    s.glass = CFloatRect(0, 0, 4, 4);
    s.top = {10, 5, {}};
    s.bottom = {10, 6, {}};
    s.left = {7, 10, {}};
    s.right = {8, 10, {}};
    s.top_left = {5, 5, {}, -2, -3};
    s.top_right = {5, 5, {}, 2, 0};
    s.bottom_left = {5, 5, {}, 0, 1};
    s.bottom_right = {5, 5, {}, 0, 0};
    CTexturedRectsList list;
    BuildFrame(list, CFloatRect(0, 0, 40, 30), s);
    const auto q = Quads(list);
    // glass 1; top: 3 .. 37 -> 3 pieces; bottom: 5 .. 35 -> 3; left: 2 .. 26 -> 2;
    // right: 5 .. 25 -> 2; corners 4.
    ASSERT_EQ(q.size(), 1u + 3 + 3 + 2 + 2 + 4);
    EXPECT_EQ(q[1], CFloatRect(3, 0, 13, 5));
    EXPECT_EQ(q[3], CFloatRect(23, 0, 33, 5));
    EXPECT_EQ(q[4], CFloatRect(5, 24, 15, 30));
    EXPECT_EQ(q[7], CFloatRect(0, 2, 7, 12));
    EXPECT_EQ(q[10], CFloatRect(32, 15, 40, 25));
    EXPECT_EQ(q[11], CFloatRect(-2, -3, 3, 2));
    EXPECT_EQ(q[12], CFloatRect(37, 0, 42, 5));
    EXPECT_EQ(q[13], CFloatRect(0, 26, 5, 31));
    EXPECT_EQ(q[14], CFloatRect(35, 25, 40, 30));
}

TEST(BuildFrame, FractionalEdgesTruncateAndFlatSideBordersAreSkipped) {
    FrameSkin s;
    s.glass = CFloatRect(0, 0, 8, 8);
    s.left = {6, 0, {}};  // a width but no height: nothing to repeat
    s.right = {6, 10, {}};
    CTexturedRectsList list;
    BuildFrame(list, CFloatRect(10.7f, 20.9f, 50.5f, 61.2f), s);
    const auto q = Quads(list);
    ASSERT_EQ(q.size(), 1u + 4);  // glass and four right pieces (21 .. 61 -> 40 / 10)
    EXPECT_EQ(q[0], CFloatRect(10, 20, 50, 61));
    EXPECT_EQ(q[1], CFloatRect(44, 20, 50, 30));
}

TEST(BuildFrame, SkinWithoutCornersRunsBordersEdgeToEdge) {
    CXMLFile doc;
    ASSERT_TRUE(doc.Parse("<Kind texture='Textures\\GUI\\x.png'><Borders>"
                          "<Top width='20' height='4' tex_rect='1,2,21,6'/></Borders>"
                          "<Glass tex_rect='0 0 8' mg_left='3' tiled='1'/></Kind>"));
    const FrameSkin s = LoadFrameSkin(doc.SelectSingleNode("/Kind"));
    EXPECT_EQ(s.texture, "Textures\\GUI\\x.png");
    EXPECT_EQ(s.top.tex_rect, CFloatRect(1, 2, 21, 6));
    EXPECT_EQ(s.bottom.width, 0);
    EXPECT_EQ(s.top_left.width, 0);
    EXPECT_EQ(s.glass, CFloatRect());  // three numbers are no rectangle
    EXPECT_EQ(s.mg_left, 3);
    EXPECT_TRUE(s.tiled);
    CTexturedRectsList list;
    BuildFrame(list, CFloatRect(0, 0, 100, 50), s);
    const auto q = Quads(list);
    ASSERT_EQ(q.size(), 5u);
    EXPECT_EQ(q.front(), CFloatRect(0, 0, 20, 4));
    EXPECT_EQ(q.back(), CFloatRect(80, 0, 100, 4));
}

TEST(BuildFrame, OutlandishSkinsAndRectanglesStayBounded) {
    // Sizes and offsets far beyond any texture are clamped when read.
    CXMLFile doc;
    ASSERT_TRUE(doc.Parse("<Kind><Borders><Top width='2147483647' height='-5' tex_rect='0 0 1 1'/></Borders>"
                          "<Corners><TopLeft width='100000' height='8' disX='-2147483648' disY='2147483647'/></Corners>"
                          "<Glass tex_rect='0 0 1 1' mg_left='2147483647' mg_right='2147483647'/></Kind>"));
    const FrameSkin s = LoadFrameSkin(doc.SelectSingleNode("/Kind"));
    EXPECT_EQ(s.top.width, 4096);
    EXPECT_EQ(s.top.height, 0);
    EXPECT_EQ(s.top_left.width, 4096);
    EXPECT_EQ(s.top_left.dis_x, -4096);
    EXPECT_EQ(s.top_left.dis_y, 4096);
    EXPECT_EQ(s.mg_left, 4096);

    // A rectangle far off the screen: every corner of every quad is a whole
    // pixel within 16384 of the origin, and the pieces are counted in
    // thousands, not billions.
    FrameSkin top = TopOnly();
    top.glass = CFloatRect(0, 0, 1, 1);
    for (const CFloatRect& rect : {CFloatRect(-1e10f, 0, 1e10f, 50), CFloatRect(-3e9f, -3e9f, 3e9f, 3e9f)}) {
        CTexturedRectsList list;
        BuildFrame(list, rect, top);
        const auto q = Quads(list);
        ASSERT_GT(q.size(), 3u);
        EXPECT_LT(q.size(), 4000u);
        for (const CFloatRect& r : q)
            for (float v : {r.left, r.top, r.right, r.bottom}) {
                EXPECT_LE(std::fabs(v), 16384.0f);
                EXPECT_EQ(v, std::trunc(v));
            }
    }
}

TEST_F(FrameGlassTest, TooManyTilesAreDrawnStretched) {
    FrameSkin s;
    s.glass = CFloatRect(0, 0, 1, 1);
    s.tiled = true;
    CTexturedRectsList list;
    BuildFrame(list, CFloatRect(0, 0, 200, 100), s);
    EXPECT_EQ(list.GetCount(), 20000);  // tiles still: 200 x 100 one-pixel tiles
    BuildFrame(list, CFloatRect(0, 0, 400, 300), s);
    ASSERT_EQ(list.GetCount(), 1);  // 120000 tiles: one stretched glass
    EXPECT_EQ(Quads(list)[0], CFloatRect(0, 0, 400, 300));
    EXPECT_NE(NewLog().find("Error: A frame glass of 400 x 300 tiles is too many, it is stretched!"),
              std::string::npos);
}

}  // namespace
