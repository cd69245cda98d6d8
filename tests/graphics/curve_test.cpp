#include "graphics/curve.h"

#include <gtest/gtest.h>

namespace {

TEST(CurveTest, ThreePointsAtAQuarterStep) {
    CCurve curve;
    ASSERT_TRUE(curve.BuildPath({CVector2(0, 0), CVector2(100, 0), CVector2(100, 100)}, 0.25f));
    ASSERT_EQ(curve.GetPathPointCount(), 9);
    const auto& p = curve.GetPathPoints();
    EXPECT_EQ(p[0], CVector2(0, 0));
    EXPECT_EQ(p[4], CVector2(100, 0)) << "the sample at t = 1 is the middle key";
    EXPECT_EQ(p[8], CVector2(100, 100));
    // Catmull-Rom at t = 0.5: tangents (100, 0) leaving key 0 and (50, 50) at key 1.
    EXPECT_NEAR(p[2].x, 0.5f * 0 + 0.125f * 100 + 0.5f * 100 - 0.125f * 50, 1e-3f);
    EXPECT_NEAR(p[2].y, -0.125f * 50, 1e-3f);
}

TEST(CurveTest, TwoPointsMakeAStraightSegment) {
    CCurve curve;
    ASSERT_TRUE(curve.BuildPath({CVector2(0, 0), CVector2(10, 20)}, 0.1f));
    for (const CVector2& p : curve.GetPathPoints()) EXPECT_NEAR(p.y, 2 * p.x, 1e-3f);
    EXPECT_GE(curve.GetPathPointCount(), 11);
}

TEST(CurveTest, KeysAreRoundedButTheLastPointIsKept) {
    CCurve curve;
    ASSERT_TRUE(curve.BuildPath({CVector2(0.6f, 0.4f), CVector2(10.3f, 0.7f)}, 1.0f));
    ASSERT_EQ(curve.GetPathPointCount(), 2);
    EXPECT_EQ(curve.GetPathPoints()[0], CVector2(1, 0));
    EXPECT_EQ(curve.GetPathPoints()[1], CVector2(10.3f, 0.7f));
}

TEST(CurveTest, ManyKeyPoints) {
    std::vector<CVector2> keys;
    for (int i = 0; i < 250; ++i) keys.emplace_back(static_cast<float>(i * 4), static_cast<float>((i % 2) * 10));
    CCurve curve;
    ASSERT_TRUE(curve.BuildPath(keys, 0.5f));
    EXPECT_EQ(curve.GetPathPointCount(), 2 * 249 + 1);
    EXPECT_EQ(curve.GetPathPoints()[2 * 200], keys[200]);
}

TEST(CurveTest, PathPointsInterpolateAndClamp) {
    CCurve curve;
    curve.BuildPath({CVector2(0, 0), CVector2(10, 0), CVector2(10, 10)}, 1.0f);
    ASSERT_EQ(curve.GetPathPointCount(), 3);
    struct {
        float t, x, y;
    } cases[] = {{1.5f, 10, 5}, {2.5f, 10, 10}, {7, 10, 10}, {0.000001f, 0, 0}, {0.5f, 5, 0}, {-3, 0, 0},
                 {-0.5f, 0, 0}};
    for (const auto& c : cases) {
        float x = -1, y = -1;
        EXPECT_TRUE(curve.GetPathPoint(c.t, x, y));
        EXPECT_FLOAT_EQ(x, c.x) << c.t;
        EXPECT_FLOAT_EQ(y, c.y) << c.t;
    }
}

TEST(CurveTest, BadInputLeavesAnEmptyPath) {
    CCurve curve;
    EXPECT_FALSE(curve.BuildPath({}, 0.5f));
    EXPECT_EQ(curve.GetPathPointCount(), 0);
    float x = 0, y = 0;
    EXPECT_FALSE(curve.GetPathPoint(0, x, y));
    EXPECT_FALSE(curve.BuildPath({CVector2(0, 0), CVector2(1, 1)}, 0));
    CCurve one;
    ASSERT_TRUE(one.BuildPath({CVector2(3, 4)}, 0.5f));
    EXPECT_EQ(one.GetPathPointCount(), 1);
    CCurve copy = one;
    EXPECT_EQ(copy.GetPathPoints(), one.GetPathPoints());
}

// A step so small that a float sum of steps stops growing (a path across a
// hundred million pixels at five pixels a point) still ends: the points are
// counted first, capped, and spread evenly up to the last key.
TEST(CurveTest, AHugePathIsCappedAndStillReachesItsEnd) {
    CCurve curve;
    ASSERT_TRUE(curve.BuildPath({CVector2(0, 0), CVector2(1e8f, 0)}, 5e-8f));
    ASSERT_EQ(curve.GetPathPointCount(), CCurve::kMaxPathPoints + 1);
    const auto& p = curve.GetPathPoints();
    for (size_t i = 1; i < p.size(); ++i) ASSERT_GT(p[i].x, p[i - 1].x) << i;
    EXPECT_EQ(p.back(), CVector2(1e8f, 0));
    EXPECT_NEAR(p[p.size() / 2].x, 5e7f, 1e4f);
}

}  // namespace
