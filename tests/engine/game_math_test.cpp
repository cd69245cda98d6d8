#include "engine/game_math.h"

#include <gtest/gtest.h>

#include "engine/random.h"

namespace {

// The decision is taken on the float's own fraction: 2.491f is 2.49099994 and
// rounds down like 2.4905, so the case above the threshold uses 2.4915.
TEST(GameMathTest, Round) {
    struct {
        float v;
        int r;
    } cases[] = {{0.5f, 1}, {0.49f, 0}, {2.49f, 2}, {2.4905f, 2}, {2.4915f, 3}, {2.491f, 2}, {-1.2f, -2}, {-1.0f, -1},
                 {3.0f, 3}, {0.0f, 0},  {-0.5f, -1}};
    for (const auto& c : cases) EXPECT_EQ(Round(c.v), c.r) << c.v;
}

TEST(GameMathTest, AngleKeepsOneTurnWithOneCorrection) {
    struct {
        float in, out;
    } cases[] = {{360, 0}, {-90, 270}, {720, 360}, {725, 365}, {-400, -40}, {45, 45}, {0, 0}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(CAngle(c.in).Get(), c.out) << c.in;
    CAngle a(350);
    EXPECT_FLOAT_EQ(a += 20, 10);
    EXPECT_NEAR(CAngle(180).Radians(), 3.1415927f, 1e-6f);

    struct {
        CVector2 v;
        float deg;
    } dirs[] = {{{1, 0}, 0}, {{-1, 0}, 180}, {{0, 1}, 90}, {{0, -1}, 270}, {{0, 0}, 0}, {{1, 1}, 45}};
    for (const auto& d : dirs) EXPECT_NEAR(d.v.GetAngle().Get(), d.deg, 1e-3f) << d.v.x << "," << d.v.y;
    EXPECT_NEAR(CAngle(CVector2(0, -2)).Get(), 270, 1e-3f);
}

TEST(GameMathTest, VectorsAndRectangles) {
    CVector2 zero;
    EXPECT_EQ(zero.Normalize(), CVector2(0, 0));
    EXPECT_EQ(Normalize(CVector2()), CVector2(0, 0));
    CVector2 v(3, 4);
    EXPECT_FLOAT_EQ(v.Length(), 5);
    EXPECT_EQ(Normalize(v), CVector2(0.6f, 0.8f));
    EXPECT_EQ(v.GetNormal(), CVector2(0.8f, -0.6f));
    EXPECT_EQ(2.0f * v - CVector2(1, 1), CVector2(5, 7));
    CVector2 w = v;
    w *= CVector2(2, 3);
    EXPECT_EQ(w, CVector2(6, 12));
    CVector2 r(1, 0);
    Rotate(r, CAngle(90));
    EXPECT_NEAR(r.x, 0, 1e-6f);
    EXPECT_NEAR(r.y, 1, 1e-6f);

    CFloatRect rect(0, 0, 10, 20);
    EXPECT_TRUE(rect.Contains(10, 5)) << "edges belong to the rectangle";
    EXPECT_FALSE(rect.Contains(10.01f, 5));
    EXPECT_TRUE(rect.Intersects(CFloatRect(10, 20, 30, 30))) << "touching";
    EXPECT_FALSE(rect.Intersects(CFloatRect(10.5f, 0, 30, 30)));
    EXPECT_EQ(rect.Inflate(4, 2), CFloatRect(-2, -1, 12, 21));
    rect.Offset(1, 1);
    EXPECT_EQ(rect, CFloatRect(-1, 0, 13, 22));
    EXPECT_FLOAT_EQ(rect.Width(), 14);
    struct IntRect {
        int left, top, right, bottom;
    } ir{1, 2, 3, 4};
    EXPECT_EQ(CFloatRect(ir), CFloatRect(1, 2, 3, 4));
}

TEST(GameMathTest, Trajectory) {
    std::vector<CVector2> points = {CVector2(9, 9)};
    BuildTrajectory(0, 2, CVector2(10, 20), 2.0f, 0.5f, points);
    ASSERT_EQ(points.size(), 4u);  // t = 0, 0.5, 1, 1.5
    EXPECT_EQ(points[0], CVector2(10, 20));
    EXPECT_FLOAT_EQ(points[2].x, 12);
    EXPECT_FLOAT_EQ(points[2].y, 20 - 0.15f);
    BuildTrajectory(90, 5, CVector2(0, 0), 140, 0.5f, points);
    EXPECT_EQ(points.size(), 280u);
    EXPECT_NEAR(points[2].x, 0, 1e-5f);
    EXPECT_FLOAT_EQ(points[2].y, 5 - 0.15f);
}

TEST(RandomTest, RuntimeGenerator) {
    rt::srand(1);
    EXPECT_EQ(rt::rand(), 41);
    EXPECT_EQ(rt::rand(), 18467);
    EXPECT_EQ(rt::rand(), 6334);
    rt::srand(548485);
    int first = rt::rand();
    rt::srand(548485);
    EXPECT_EQ(rt::rand(), first);
    for (int i = 0; i < 1000; ++i) {
        int v = rt::rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, rt::kRandMax);
    }
}

TEST(RandomTest, RandomRange) {
    EXPECT_EQ(RandomRange(3, 3), 3);
    rt::srand(1);
    EXPECT_EQ(RandomRange(0, 100), 41);  // the first draw after srand(1)
    for (int i = 0; i < 200; ++i) {
        int v = RandomRange(0, 2);
        ASSERT_TRUE(v == 0 || v == 1);
        int w = RandomRange(95, 125);
        ASSERT_GE(w, 95);
        ASSERT_LT(w, 125);
    }
}

// Both generators start fresh in every process: checked in a new process of
// this test alone, so that no other test's draws come first.
TEST(RandomTest, GeneratorsStartFromTheirFixedStates) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            uint32_t first = RandomInt(0, 9);   // state 2531011
            uint32_t second = RandomInt(0, 9);  // state 505908858
            int runtime_first = rt::rand();     // as after srand(1)
            std::exit(first == 8 && second == 5 && runtime_first == 41 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(RandomTest, TheLooksGeneratorNeverShiftsTheRulesStream) {
    SeedGame(7);
    const int rules_first = rt::rand();
    const uint32_t own_first = RandomInt(0, 1000);
    const int looks_first = fx::rand();
    SeedGame(7);
    for (int i = 0; i < 1000; ++i) fx::Range(0, 10);
    EXPECT_EQ(rt::rand(), rules_first);
    EXPECT_EQ(RandomInt(0, 1000), own_first);
    SeedGame(7);
    EXPECT_EQ(fx::rand(), looks_first);
    EXPECT_NE(fx::rand(), rt::rand()) << "the looks' stream is not the rules' stream again";
    // Seed 0 is a seed like any other: no clock is read.
    SeedGame(0);
    const uint32_t zero_first = RandomInt(0, 0xFFFFFFFEu);
    SeedGame(0);
    EXPECT_EQ(RandomInt(0, 0xFFFFFFFEu), zero_first);
    EXPECT_EQ(fx::Range(4, 4), 4);
}

TEST(RandomTest, OwnGeneratorSteps) {
    SeedRandom(2531011);  // the state after the first draw from 0
    EXPECT_EQ(RandomInt(0, 9), 5u);
    SeedRandom(1);
    uint32_t state = 1 * 214013u + 2531011u;
    EXPECT_FLOAT_EQ(RandomFloat(0, 2), static_cast<float>(state >> 16) * 1.5259022e-5f * 2);
    SeedRandom(7);
    rt::srand(7);
    uint32_t own = RandomInt(0, 0xFFFFFFFEu);
    rt::rand();
    SeedRandom(7);
    EXPECT_EQ(RandomInt(0, 0xFFFFFFFEu), own) << "the runtime generator does not move the own one";
    for (int i = 0; i < 500; ++i) {
        uint32_t v = RandomInt(16, 24);
        ASSERT_GE(v, 16u);
        ASSERT_LE(v, 24u);
        float f = RandomFloat(-1, 1);
        ASSERT_GE(f, -1.0f);
        ASSERT_LE(f, 1.0f);
    }
}

}  // namespace
