#include "engine/helpers.h"

#include <gtest/gtest.h>

#include <clocale>

#include "data_test_support.h"
#include "engine/graphics_desc.h"
#include "engine/xml_file.h"

namespace {

TEST(HelpersTest, StrToIntTable) {
    struct {
        const char* text;
        int value;
    } cases[] = {
        {"-12", -12}, {"0x10", 16}, {"abc", 0},  {"", 0},           {"12abc", 12},      {"  7", 7},
        {"+5", 5},    {"0x1F", 31}, {"0x", 0},   {"ab0x1", 0xab0},  {"0xFFFFFFFF", -1}, {"99999999999", 2147483647},
        {"1.9", 1},   {"-0", 0},    {"0X10", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << "'" << c.text << "'";
}

TEST(HelpersTest, StrToColorTable) {
    struct {
        const char* text;
        uint32_t value;
    } cases[] = {
        {"FFFFFFFF", 0xFFFFFFFFu}, {"80FF0000", 0x80FF0000u}, {"FF00FF00", 0xFF00FF00u},
        {"ff0000ff", 0xFF0000FFu}, {"0xFF00FF00", 0u},        {"", 0u},
        {"zz", 0u},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToColor(c.text), c.value) << "'" << c.text << "'";
}

TEST(HelpersTest, StrToRectTable) {
    struct {
        const char* text;
        CFloatRect rect;
    } cases[] = {
        {"0, 0, 64,64", {0, 0, 64, 64}},
        {"1 2 3 4", {1, 2, 3, 4}},
        {"1.5 2 3 4", {1, 2, 3, 4}},
        {" ,10,,20 ,30, 40, 50", {10, 20, 30, 40}},
        {"0x10 0 0 0", {16, 0, 0, 0}},
        {"1 2 3", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToRect(c.text), c.rect) << "'" << c.text << "'";
}

TEST(HelpersTest, TokenizeSkipsEmptyParts) {
    std::vector<std::string> parts = {"stale"};
    EXPECT_EQ(Tokenize(&parts, ",a,, b ,", " ,"), 2);
    EXPECT_EQ(parts, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Tokenize(&parts, "", " ,"), 0);
    EXPECT_TRUE(parts.empty());
    std::vector<int> ints;
    EXPECT_EQ(TokenizeInts(&ints, "1;0x10;;-3;x", ";"), 4);
    EXPECT_EQ(ints, (std::vector<int>{1, 16, -3, 0}));
    data_test::PrepareLogOnce();
    EXPECT_EQ(Tokenize(nullptr, "a", ","), 0);
    EXPECT_NE(data_test::ReadLog().find("Assert failed: 'parsed != NULL'"), std::string::npos);
}

TEST(HelpersTest, NumbersUseTheCLocaleAndFormatStringHasNoLimit) {
    EXPECT_EQ(FloatToStr(2.5f), "2.500000");
    EXPECT_EQ(FloatToStr(-0.125f), "-0.125000");
    EXPECT_EQ(IntToStr(-25000), "-25000");
    EXPECT_DOUBLE_EQ(StrToFloat("1.5x"), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat("abc"), 0.0);
    // A decimal comma locale must not change the data's numbers.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
        EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
        EXPECT_EQ(FloatToStr(2.5f), "2.500000");
        std::setlocale(LC_ALL, "C");
    }
    std::string big(10000, 'x');
    std::string out = "old";
    FormatString(out, "%s-%d", big.c_str(), 42);
    EXPECT_EQ(out, big + "-42");
    FormatString(out, "%s", "");
    EXPECT_EQ(out, "");
}

TEST(HelpersTest, ParseGraphics) {
    data_test::PrepareLogOnce();
    CXMLFile xml;
    xml.Parse(std::string_view(
        "<R><None/>"
        "<Full><graphics texture=\"Textures\\Ball.tga\" width=\"36\" height=\"40\" color=\"80FF0000\""
        " tex_rect=\"0, 0, 64,64\"><animation file=\"Anim\\Ball.xml\" frames=\"8\" speed=\"12\"/></graphics></Full>"
        "<Short><graphics tex_rect=\"1 2 3\" width=\"-4\"/></Short></R>"));
    CGraphicsDesc none = ParseGraphics(xml.SelectSingleNode("//None"));
    EXPECT_EQ(none.texture, "");
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
    EXPECT_EQ(none.color, 0xFFFFFFFFu);
    EXPECT_EQ(none.tex_rect, CFloatRect());
    EXPECT_EQ(none.animation_file, "");
    EXPECT_EQ(none.frames, 0);

    CGraphicsDesc full = ParseGraphics(xml.SelectSingleNode("//Full"));
    EXPECT_EQ(full.texture, "Textures\\Ball.tga");
    EXPECT_EQ(full.width, 36);
    EXPECT_EQ(full.height, 40);
    EXPECT_EQ(full.color, 0x80FF0000u);
    EXPECT_EQ(full.tex_rect, CFloatRect(0, 0, 64, 64));
    EXPECT_EQ(full.animation_file, "Anim\\Ball.xml");
    EXPECT_EQ(full.frames, 8);
    EXPECT_EQ(full.speed, 12);

    CGraphicsDesc shortened = ParseGraphics(xml.SelectSingleNode("//Short"));
    EXPECT_EQ(shortened.tex_rect, CFloatRect());
    EXPECT_EQ(shortened.width, -4) << "kept after the failed check";
    EXPECT_NE(data_test::ReadLog().find("Assert failed: 'graph.width >= 0'"), std::string::npos);
}

}  // namespace
