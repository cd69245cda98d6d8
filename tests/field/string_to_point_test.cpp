// Point attributes: two integers separated by blanks or commas.
#include <gtest/gtest.h>

#include "field/string_to_point.h"

namespace {

TEST(StringToPointTest, TwoIntegersOrTheOrigin) {
    struct Case {
        const char* text;
        float x, y;
    };
    const Case cases[] = {
        {"12, 30", 12, 30}, {"12 30", 12, 30}, {"12,30", 12, 30},  {"0x10 2", 16, 2},     {"1.5 2.5", 1, 2},
        {"-4, -7 9", -4, -7}, {"12", 0, 0},     {"", 0, 0},         {" , ", 0, 0},        {"  5  ,, 6 ", 5, 6},
    };
    for (const Case& c : cases) {
        const CVector2 p = StringToPoint(c.text);
        EXPECT_EQ(p.x, c.x) << '"' << c.text << '"';
        EXPECT_EQ(p.y, c.y) << '"' << c.text << '"';
    }
}

}  // namespace
