#include "graphics/color.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorTest, UnpackAndPack) {
    CColor red(0x80FF0000u);
    EXPECT_FLOAT_EQ(red.r, 1);
    EXPECT_FLOAT_EQ(red.g, 0);
    EXPECT_FLOAT_EQ(red.b, 0);
    EXPECT_NEAR(red.a, 0.50196f, 1e-5f);
    EXPECT_EQ(red.ToARGB(), 0x80FF0000u);
    struct {
        CColor c;
        uint32_t argb;
    } cases[] = {
        {CColor(1, 0.5f, 0, 1), 0xFFFF7F00u},  // green 127.5 truncated
        {CColor(0, 0, 0, 0), 0u},
        {CColor(1, 1, 1, 1), 0xFFFFFFFFu},
        {CColor(0.25f, 0.5f, 0.75f, 1), 0xFF3F7FBFu},
        // Nothing is clamped: blue above 1 carries into green.
        {CColor(0, 0, 2, 0), 0x000001FEu},
    };
    for (const auto& c : cases) EXPECT_EQ(c.c.ToARGB(), c.argb) << std::hex << c.argb;
    for (uint32_t argb : {0x12345678u, 0xFFFFFFFFu, 0x00000001u, 0xDEADBEEFu}) EXPECT_EQ(CColor(argb).ToARGB(), argb);
}

TEST(ColorTest, Arithmetic) {
    CColor a(0.5f, 0.25f, 1, 1), b(0.25f, 0.25f, 0.5f, 0.5f);
    EXPECT_EQ(a + b, CColor(0.75f, 0.5f, 1.5f, 1.5f));
    EXPECT_EQ(a - b, CColor(0.25f, 0, 0.5f, 0.5f));
    EXPECT_EQ(a * b, CColor(0.125f, 0.0625f, 0.5f, 0.5f));
    EXPECT_EQ(a / b, CColor(2, 1, 2, 2));
    EXPECT_EQ(a * 2.0f, CColor(1, 0.5f, 2, 2));
    EXPECT_EQ(2.0f * a, a * 2.0f);
    EXPECT_EQ(a + 1.0f, CColor(1.5f, 1.25f, 2, 2));
    EXPECT_EQ(a - 0.25f, CColor(0.25f, 0, 0.75f, 0.75f));
    EXPECT_EQ(1.0f - a, CColor(0.5f, 0.75f, 0, 0));
    EXPECT_EQ(1.0f / CColor(2, 4, 1, 0.5f), CColor(0.5f, 0.25f, 1, 2));
    EXPECT_EQ(-a, CColor(-0.5f, -0.25f, -1, -1));
    CColor c = a;
    c += b;
    c -= b;
    c *= 2;
    EXPECT_EQ(c, CColor(1, 0.5f, 2, 2));
    EXPECT_NE(c, a);
    CColor out(-0.5f, 0.5f, 1.5f, 1);
    out.Clamp();
    EXPECT_EQ(out, CColor(0, 0.5f, 1, 1));
}

}  // namespace
