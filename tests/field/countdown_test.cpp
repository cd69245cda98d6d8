// The frame countdown and the in-place float clamp.
#include <gtest/gtest.h>

#include "field/countdown.h"

namespace {

TEST(CountdownTest, IsZeroUntilSetAndStopsAtZero) {
    CCountdown c;
    EXPECT_TRUE(c.IsZero());
    c.Set(3);
    EXPECT_EQ(c.GetStart(), 3u);
    for (int i = 0; i < 2; ++i) {
        c.Decrement();
        EXPECT_FALSE(c.IsZero());
    }
    c.Decrement();
    EXPECT_TRUE(c.IsZero());
    c.Decrement();
    EXPECT_EQ(c.GetCurrent(), 0u);
    EXPECT_EQ(c.GetStart(), 3u);
    c.Set(0);
    EXPECT_TRUE(c.IsZero());
}

TEST(ClampFloatTest, MovesOnlyValuesOutsideTheRange) {
    struct Case {
        float value, min, max, result;
        bool changed;
    };
    const Case cases[] = {
        {-0.5f, 0, 1, 0, true}, {1.5f, 0, 1, 1, true}, {0.5f, 0, 1, 0.5f, false},
        {0, 0, 1, 0, false},    {1, 0, 1, 1, false},   {-3, -3, -3, -3, false},
    };
    for (const Case& c : cases) {
        float v = c.value;
        EXPECT_EQ(ClampFloat(v, c.min, c.max), c.changed) << c.value;
        EXPECT_EQ(v, c.result) << c.value;
    }
}

}  // namespace
