#include "graphics/polygon.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/random.h"

namespace {

CPolygon Square() { return CPolygon({CVector2(0, 0), CVector2(10, 0), CVector2(10, 10), CVector2(0, 10)}); }

TEST(PolygonTest, SquareInsideEdgeVertex) {
    CPolygon square = Square();
    EXPECT_EQ(square.GetVertexCount(), 4);
    EXPECT_TRUE(square.IsPointInside(5, 5));
    EXPECT_FALSE(square.IsPointInside(15, 5));
    EXPECT_TRUE(square.IsPointInside(10, 5)) << "on an edge";
    EXPECT_TRUE(square.IsPointInside(0, 0)) << "on a vertex";
    EXPECT_TRUE(square.IsPointInside(5, 0));
    EXPECT_FALSE(square.IsPointInside(-0.1f, 5));
    EXPECT_FALSE(CPolygon().IsPointInside(0, 0));
    EXPECT_EQ(CPolygon().GetVertexCount(), 0);
}

// Edges whose ends lie in opposite octants of the point, on both sides of it.
TEST(PolygonTest, EdgesPassingCloseOnEitherSide) {
    CPolygon tri({CVector2(0, 0), CVector2(12, 9), CVector2(0, 12)});
    EXPECT_FALSE(tri.IsPointInside(6, 4.4f));
    EXPECT_TRUE(tri.IsPointInside(6, 4.6f));
    EXPECT_TRUE(tri.IsPointInside(6, 4.5f)) << "on the edge";
}

// Even-odd ray casting as the reference, on a concave outline, away from edges.
bool Reference(const std::vector<CVector2>& v, float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
        if ((v[i].y > y) != (v[j].y > y) && x < (v[j].x - v[i].x) * (y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
            inside = !inside;
    }
    return inside;
}

float DistanceToEdges(const std::vector<CVector2>& v, float x, float y) {
    float best = 1e9f;
    for (size_t i = 0; i < v.size(); ++i) {
        CVector2 a = v[i], b = v[(i + 1) % v.size()];
        CVector2 ab = b - a, ap = CVector2(x, y) - a;
        float t = std::clamp((ap.x * ab.x + ap.y * ab.y) / (ab.x * ab.x + ab.y * ab.y), 0.0f, 1.0f);
        best = std::min(best, (ap - ab * t).Length());
    }
    return best;
}

TEST(PolygonTest, AgreesWithRayCastingOnAConcaveOutline) {
    std::vector<CVector2> star;
    for (int i = 0; i < 10; ++i) {
        float a = static_cast<float>(i) * 3.1415927f / 5;
        float r = (i % 2) ? 20.0f : 50.0f;
        star.emplace_back(60 + r * std::cos(a), 60 + r * std::sin(a));
    }
    CPolygon poly(star);
    rt::srand(99);
    int inside = 0;
    for (int n = 0; n < 3000; ++n) {
        float x = static_cast<float>(rt::rand() % 12000) / 100.0f;
        float y = static_cast<float>(rt::rand() % 12000) / 100.0f;
        if (DistanceToEdges(star, x, y) < 0.01f) continue;
        bool expected = Reference(star, x, y);
        inside += expected;
        ASSERT_EQ(poly.IsPointInside(x, y), expected) << x << "," << y;
    }
    EXPECT_GT(inside, 100);
}

TEST(PolygonTest, CentreScaleAndPlacement) {
    CPolygon poly = Square();
    poly.SetRotationCenter(5, 5);  // local (-5,-5) .. (5,5)
    EXPECT_EQ(poly.GetLocalVertices().front(), CVector2(-5, -5));
    plat::Matrix scale;
    scale(0, 0) = 2;
    scale(1, 1) = 3;
    poly.Scale(scale);
    EXPECT_EQ(poly.GetLocalVertices()[2], CVector2(10, 15));
    // A quarter turn (cosine 0, sine 1), then a move to (100, 200).
    plat::Matrix rotation;
    rotation(0, 0) = 0;
    rotation(0, 1) = 1;
    rotation(1, 0) = -1;
    rotation(1, 1) = 0;
    plat::Matrix translation;
    translation(3, 0) = 100;
    translation(3, 1) = 200;
    poly.Transform(rotation, plat::Matrix(), translation);
    // Local (10, 15) turns to (-15, 10).
    EXPECT_EQ(poly.GetScreenVertices()[2], CVector2(85, 210));
    EXPECT_TRUE(poly.IsPointInside(100, 200));
    EXPECT_TRUE(poly.IsPointInside(114, 209));
    EXPECT_FALSE(poly.IsPointInside(100, 212)) << "the turned outline is 20 wide and 30 tall";
    EXPECT_TRUE(poly.IsPointInside(112, 200));
}

}  // namespace
