#include "engine/formatter.h"

#include <gtest/gtest.h>

#include <cstring>

#include "data_test_support.h"

namespace {

using T = FormatArgType;

TEST(FormatterTest, ConversionsAreCheckedAgainstTheArguments) {
    struct {
        const char* format;
        std::vector<T> args;
        bool fits;
    } cases[] = {
        {"plain", {}, true},
        {"100%% sure", {}, true},
        {"%d points", {T::Int}, true},
        {"%d of %s", {T::Int, T::Text}, true},
        {"%-08.3f|%+5d|%x|%c|%ld|%lu", {T::Float, T::Int, T::Int, T::Int, T::Int, T::Int}, true},
        {"%d", {T::Int, T::Text}, true},  // extra arguments are never read: allowed
        {"%s", {}, false},                // a conversion with no argument
        {"%s", {T::Int}, false},
        {"%d", {T::Float}, false},
        {"50%", {T::Int}, false},         // a stray '%' at the end
        {"%", {}, false},
        {"%n", {T::Int}, false},
        {"%p", {T::Int}, false},
        {"%*d", {T::Int, T::Int}, false},
        {"%1$d", {T::Int}, false},
        {"%ls", {T::Text}, false},
        {"%q", {T::Int}, false},
        {"%99999d", {T::Int}, false},     // absurd width
        {"%d %d", {T::Int}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatMatchesArgs(c.format, c.args), c.fits) << c.format;
}

TEST(FormatterTest, DataTextIsFormattedOrShownAsWritten) {
    data_test::PrepareLogOnce();
    EXPECT_EQ(FormatDataTextOf("%d of %s (%.1f%%)", 5, "ten", 50.0), "5 of ten (50.0%)");
    EXPECT_EQ(FormatDataTextOf("%05d|%-4s|%x", 42, std::string("ab"), 255), "00042|ab  |ff");
    EXPECT_EQ(FormatDataTextOf("Score: %s"), "Score: %s");
    EXPECT_NE(data_test::ReadLog().find("Warning: Text 'Score: %s' does not fit its arguments, shown as written."),
              std::string::npos);
    EXPECT_EQ(FormatDataTextOf("Level %d", "one"), "Level %d");
    std::string wide(500, 'w');
    EXPECT_EQ(FormatDataTextOf("[%s]", wide), "[" + wide + "]");
    EXPECT_EQ(FormatDataTextOf("%200d", 1).size(), 200u);
}

TEST(FormatterTest, ParametricSnprintf) {
    data_test::PrepareLogOnce();
    char buf[64];
    EXPECT_EQ(ParametricSnprintf(buf, sizeof buf, "a%db%sc", PrintfArg(5), PrintfArg::MakeString("x")), 5);
    EXPECT_STREQ(buf, "a5bxc");
    // Untyped arguments pass nothing: one conversion with b of tag none, none with both.
    EXPECT_EQ(ParametricSnprintf(buf, sizeof buf, "%.2f", PrintfArg::MakeFloat(1.5f), PrintfArg()), 4);
    EXPECT_STREQ(buf, "1.50");
    EXPECT_EQ(ParametricSnprintf(buf, sizeof buf, "%s!", PrintfArg(), PrintfArg::MakeString("b")), 2);
    EXPECT_STREQ(buf, "b!");
    EXPECT_EQ(ParametricSnprintf(buf, sizeof buf, "just text", PrintfArg(), PrintfArg()), 9);
    EXPECT_STREQ(buf, "just text");
    // A text that does not fit its arguments is written as it is.
    EXPECT_EQ(ParametricSnprintf(buf, sizeof buf, "Bonus %s", PrintfArg(), PrintfArg()), 8);
    EXPECT_STREQ(buf, "Bonus %s");
    // Cut at the buffer's size, still terminated.
    char small[4];
    EXPECT_EQ(ParametricSnprintf(small, sizeof small, "%d", PrintfArg(123456), PrintfArg()), -1);
    EXPECT_STREQ(small, "123");
    // A tag outside 0..3.
    PrintfArg bad;
    bad.type = 7;
    std::strcpy(buf, "old");
    EXPECT_EQ(ParametricSnprintf(buf, sizeof buf, "%d", bad, PrintfArg()), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_NE(data_test::ReadLog().find("Error: parametric snprinf invalid argument(s)."), std::string::npos);
}

TEST(FormatterTest, PrintfArgReadsOnlyItsOwnType) {
    PrintfArg i(7);
    EXPECT_EQ(i.GetInt(), 7);
    EXPECT_EQ(i.GetFloat(), 0.0f);
    EXPECT_EQ(i.GetString(), "");
    PrintfArg s = PrintfArg::MakeString("t");
    EXPECT_EQ(s.GetInt(), 0);
    EXPECT_EQ(s.GetString(), "t");
    EXPECT_EQ(PrintfArg::MakeFloat(2.5f).GetFloat(), 2.5f);
    EXPECT_EQ(PrintfArg().type, PrintfArg::kNone);
}

}  // namespace
