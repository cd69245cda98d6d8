#include "graphics/textured_rect.h"

#include <gtest/gtest.h>

#include "engine/data_test_support.h"
#include "graphics/polygon.h"

using namespace data_test;

namespace {

struct Corner {
    float x, y;
};

void ExpectCorners(const plat::Vertex* v, const Corner (&expected)[4]) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(v[i].x, expected[i].x, 1e-3) << "corner " << i;
        EXPECT_NEAR(v[i].y, expected[i].y, 1e-3) << "corner " << i;
    }
}

CAnimation OneFrame(const CFloatRect& tex_rect, const CPolygon* polygon = nullptr) {
    CAnimation anim;
    anim.AddFrame(tex_rect, polygon);
    return anim;
}

class TexturedRectTest : public ScratchTest {};

}  // namespace

TEST_F(TexturedRectTest, PlainQuadCornersSitHalfAPixelUpAndLeft) {
    ATexturedRect q;
    q.SetRects(CFloatRect(10, 20, 42, 52), CFloatRect(0, 0, 32, 32));
    q.SetTextureSize(64, 64);
    const plat::Vertex* v = q.GetVertices();
    ExpectCorners(v, {{9.5f, 19.5f}, {41.5f, 19.5f}, {9.5f, 51.5f}, {41.5f, 51.5f}});
    EXPECT_FLOAT_EQ(v[0].u, 0);
    EXPECT_FLOAT_EQ(v[0].v, 0);
    EXPECT_FLOAT_EQ(v[3].u, 0.5f);
    EXPECT_FLOAT_EQ(v[3].v, 0.5f);
    EXPECT_FLOAT_EQ(v[1].u, 0.5f);
    EXPECT_FLOAT_EQ(v[1].v, 0);
    EXPECT_EQ(v[2].color, 0xFFFFFFFFu);
    EXPECT_EQ(q.GetDirty(), 0u);
    // Depth and pivot take effect only at the next geometry rebuild.
    q.SetZ(0.5f);
    q.SetRotationCenter(3, 3);
    EXPECT_EQ(q.GetDirty(), 0u);
}

TEST_F(TexturedRectTest, RotationTurnsAboutThePivotInBothClasses) {
    const Corner turned[4] = {{41.5f, 19.5f}, {41.5f, 51.5f}, {9.5f, 19.5f}, {9.5f, 51.5f}};
    ATexturedRect plain;
    plain.SetRects(CFloatRect(10, 20, 42, 52), CFloatRect(0, 0, 32, 32));
    CTexturedRect sprite;
    sprite.Init(CFloatRect(10, 20, 42, 52), OneFrame(CFloatRect(0, 0, 32, 32)));
    for (ATexturedRect* q : {static_cast<ATexturedRect*>(&plain), static_cast<ATexturedRect*>(&sprite)}) {
        q->SetTextureSize(64, 64);
        q->SetAngle(90);
        ExpectCorners(q->GetVertices(), turned);
        // About the top-left corner instead of the middle.
        q->SetRotationCenter(-16, -16);
        q->SetAngle(90);
        ExpectCorners(q->GetVertices(), {{9.5f, 19.5f}, {9.5f, 51.5f}, {-22.5f, 19.5f}, {-22.5f, 51.5f}});
        EXPECT_FLOAT_EQ(q->GetVertices()[3].u, 0.5f);
    }
    // The textured rect takes its texture rectangle from the animation frame only.
    ITexturedRect* as_interface = &sprite;
    as_interface->SetRects(CFloatRect(0, 0, 1, 1), CFloatRect(0, 0, 64, 64));
    EXPECT_FLOAT_EQ(sprite.GetLeft(), 10);
    EXPECT_FLOAT_EQ(sprite.GetVertices()[3].u, 0.5f);
}

TEST_F(TexturedRectTest, ColoursAndAlphaPerCorner) {
    ATexturedRect q;
    q.SetRects(CFloatRect(0, 0, 4, 4), CFloatRect(0, 0, 4, 4));
    q.SetAlpha(10, kAllCorners);
    q.SetAlpha(300, kAllCorners);  // out of range: opaque
    EXPECT_EQ(q.GetAlpha(0), 255);
    q.SetAlpha(20, kAllCorners);
    q.SetAlpha(-1, 2);
    EXPECT_EQ(q.GetAlpha(2), 255);
    EXPECT_EQ(q.GetAlpha(1), 20);
    q.SetColor(0x00FF0000, 1);  // keeps the corner's own alpha
    EXPECT_EQ(q.GetColor(1), 0x14FF0000u);
    q.SetColor(0x0000FF00, 7);  // any other corner value means all four
    EXPECT_EQ(q.GetColor(3), 0x1400FF00u);
    EXPECT_EQ(q.GetVertices()[2].color, 0xFF00FF00u);
    EXPECT_THROW(q.GetColor(4), std::runtime_error);
    EXPECT_THROW(q.GetAlpha(-1), std::runtime_error);
    EXPECT_NE(NewLog().find("Assert failed: 'vertex < 4'"), std::string::npos);
}

TEST_F(TexturedRectTest, InflateKeepsTheCentreAndRefusesNegativeSizes) {
    ATexturedRect q;
    q.SetRects(CFloatRect(0, 0, 32, 32), CFloatRect());
    q.Inflate(-40, 0);
    EXPECT_FLOAT_EQ(q.GetWidth(), 32);
    q.Inflate(8, 4);
    EXPECT_EQ(q.GetRect(), CFloatRect(-4, -2, 36, 34));
    q.Inflate(-40, 0);
    EXPECT_FLOAT_EQ(q.GetWidth(), 0);
    q.Inflate(10, 10);  // a zero-wide quad never grows again
    EXPECT_FLOAT_EQ(q.GetWidth(), 0);
    EXPECT_FLOAT_EQ(q.GetHeight(), 36);
}

TEST_F(TexturedRectTest, MissingTextureSizeIsLoggedAndTakenAsOne) {
    ATexturedRect q;
    q.SetRects(CFloatRect(0, 0, 4, 4), CFloatRect(0, 0, 1, 1));
    q.SetTextureSize(0, 16);
    EXPECT_FLOAT_EQ(q.GetVertices()[3].u, 1.0f);
    EXPECT_NE(NewLog().find("Error: Object texture not defined! (ATexturedRect::SetTextureSize)"), std::string::npos);
}

TEST_F(TexturedRectTest, PolygonFollowsScaleRotationAndPosition) {
    // A triangle over the top-left half of a 32x32 frame, drawn 64x64.
    const CPolygon triangle({CVector2(0, 0), CVector2(32, 0), CVector2(0, 32)});
    CTexturedRect sprite;
    sprite.Init(CFloatRect(100, 100, 164, 164), OneFrame(CFloatRect(0, 0, 32, 32), &triangle));
    sprite.SetTextureSize(32, 32);
    sprite.GetVertices();
    ASSERT_NE(sprite.GetPolygon(), nullptr);
    EXPECT_TRUE(sprite.GetPolygon()->IsPointInside(110, 110));
    EXPECT_FALSE(sprite.GetPolygon()->IsPointInside(160, 160));
    sprite.SetAngle(180);
    sprite.GetVertices();
    EXPECT_TRUE(sprite.GetPolygon()->IsPointInside(160, 160));
    EXPECT_FALSE(sprite.GetPolygon()->IsPointInside(110, 110));
    // Twice the size about the centre: the outline grows with it.
    sprite.SetAngle(0);
    sprite.Inflate(64, 64);
    sprite.GetVertices();
    EXPECT_TRUE(sprite.GetPolygon()->IsPointInside(70, 75));
    EXPECT_FALSE(sprite.GetPolygon()->IsPointInside(190, 190));
}
