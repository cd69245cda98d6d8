// The font keeper: the languages, fonts and labels files, and labels laid out
// into a batch (lines, arguments, style override, line-count cache).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data_test_support.h"
#include "graphics/bitmap_font.h"
#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"
#include "graphics/font_test_support.h"

namespace {

using data_test::WriteBytes;
using font_test::KeeperTest;

TEST_F(KeeperTest, FontsFileTable) {
    WriteBytes("Settings/Fonts_T.xml",
               "<Fonts><Font texture='Textures\\a.png'>"
               "<Line y_top='3' y_bottom='13' x_right='77'>"
               "<Letter ascii='65' char='Z' pos_x='1'/>"   // ascii wins over char
               "<Letter char='Bq' pos_x='11'/>"            // first character of char
               "<Letter pos_x='21'/>"                      // neither: a blank
               "<Letter ascii='323' pos_x='31'/>"          // low byte: 'C'
               "<Letter ascii='0x44' pos_x='41'/>"         // hexadecimal: 'D'
               "</Line><Line/></Font>"
               "<Font/></Fonts>");
    keeper.LoadFonts("Settings\\Fonts_T.xml");
    const auto& descs = keeper.GetFontDescs();
    ASSERT_EQ(descs.size(), 2u);
    EXPECT_EQ(descs[0].texture, "Textures\\a.png");
    EXPECT_EQ(descs[0].line_count, 2u);
    const FontLine& line = descs[0].lines[0];
    EXPECT_EQ(line.y_top, 3u);
    EXPECT_EQ(line.y_bottom, 13u);
    ASSERT_EQ(line.letter_count, 5u);
    EXPECT_EQ(std::string(line.letters.begin(), line.letters.begin() + 5), "AB CD");
    EXPECT_EQ(line.positions[1], 11u);
    EXPECT_EQ(line.positions[5], 77u);  // x_right after the last letter
    EXPECT_EQ(descs[0].lines[1].y_bottom, 0u);
    EXPECT_EQ(descs[1].texture, "");
    EXPECT_EQ(descs[1].line_count, 0u);
    ASSERT_NE(keeper.GetFont(), nullptr);
    EXPECT_EQ(keeper.GetFont()->GetFontCount(), 2);
    EXPECT_EQ(keeper.GetFont()->GetGlyph(0, 'C').left, 31.0f);
}

TEST_F(KeeperTest, FontsFileCropsLettersAndLines) {
    std::string xml = "<Fonts><Font texture='t.png'><Line y_bottom='5' x_right='999'>";
    for (int i = 0; i < 300; ++i) xml += "<Letter ascii='" + std::to_string(i % 256) + "' pos_x='" + std::to_string(i) + "'/>";
    xml += "</Line>";
    for (int i = 0; i < 40; ++i) xml += "<Line y_top='" + std::to_string(i) + "'/>";
    xml += "</Font></Fonts>";
    WriteBytes("Settings/Fonts_Big.xml", xml);
    keeper.LoadFonts("Settings\\Fonts_Big.xml");
    const FontDesc& d = keeper.GetFontDescs().at(0);
    EXPECT_EQ(d.lines[0].letter_count, 254u);
    EXPECT_EQ(d.lines[0].positions[254], 999u);
    EXPECT_EQ(d.line_count, 32u);
    EXPECT_EQ(d.lines[31].y_top, 30u);
    const std::string log = NewLog();
    EXPECT_NE(log.find("Error: Too much letters in line 0 of font! Cropping..."), std::string::npos);
    EXPECT_NE(log.find("Error: Too much lines in font 0! Cropping..."), std::string::npos);
}

TEST_F(KeeperTest, LabelsFileTable) {
    WriteBytes("Settings/Labels_T.xml",
               "<labels>"
               "<label alias='full' font_id='1' height='20.5' color='80FF0000' spacing='-2' align='RIGHT'"
               " shadow='1' shadow_color='FF000000' shadow_offset='3, 4'>Hi %d</label>"
               "<label alias='bare'>plain</label>"
               "<label alias='center' align='CENTER' shadow_offset='7'>c</label>"
               "<label alias='mixed' align='Center'>m</label>"
               "<label alias='full'>second</label>"
               "</labels>");
    WriteBytes("Settings/Labels_Long.xml",
               "<labels><label alias='long'>" + std::string(600, 'x') + "</label></labels>");
    keeper.LoadLabels("Settings\\Labels_T.xml");

    LabelDesc full = keeper.GetLabel("full");
    EXPECT_EQ(full.text, "Hi %d");  // the first of two labels with one alias
    EXPECT_EQ(full.font_id, 1);
    EXPECT_FLOAT_EQ(full.style.height, 20.5f);
    EXPECT_EQ(full.style.color, 0x80FF0000u);
    EXPECT_EQ(full.style.spacing, -2);
    EXPECT_EQ(full.alignment, 1);
    EXPECT_EQ(full.style.shadow, 1);
    EXPECT_EQ(full.style.shadow_color, 0xFF000000u);
    EXPECT_EQ(full.style.shadow_offset, CVector2(3, 4));

    LabelDesc bare = keeper.GetLabel("bare");
    EXPECT_EQ(bare.font_id, 0);
    EXPECT_EQ(bare.style.height, 0.0f);
    EXPECT_EQ(bare.style.color, 0xFFFFFFFFu);
    EXPECT_EQ(bare.style.spacing, 0);
    EXPECT_EQ(bare.alignment, 0);
    EXPECT_EQ(bare.style.shadow, 0);
    EXPECT_EQ(bare.style.shadow_color, 0x645B5B5Bu);
    EXPECT_EQ(bare.style.shadow_offset, CVector2(1, 1));

    EXPECT_EQ(keeper.GetLabel("center").alignment, 2);
    EXPECT_EQ(keeper.GetLabel("center").style.shadow_offset, CVector2(1, 1));  // one number only
    EXPECT_EQ(keeper.GetLabel("mixed").alignment, 0);                           // compared in upper case

    LabelDesc missing = keeper.GetLabel("nope");
    EXPECT_EQ(missing.text, "");
    EXPECT_FLOAT_EQ(missing.style.height, 12.0f);
    EXPECT_EQ(missing.style.spacing, 3);
    EXPECT_NE(NewLog().find("Error: Label 'nope' not found!"), std::string::npos);

    keeper.LoadLabels("Settings\\Labels_Long.xml");
    EXPECT_FALSE(keeper.HasLabel("full"));  // the map is replaced
    EXPECT_EQ(keeper.GetLabel("long").text.size(), 512u);
    EXPECT_NE(NewLog().find("Warning: Label 'long' is too long! Truncating to 512 symbols..."), std::string::npos);
}

// The text of a label is all text below it; a damaged file that nests
// elements very deeply is gathered without exhausting the stack.
TEST_F(KeeperTest, DeeplyNestedLabelTextIsGathered) {
    constexpr int kDepth = 1000000;
    std::string text = "<labels><label alias='deep'>A";
    text.reserve(static_cast<size_t>(kDepth) * 7 + 64);
    for (int i = 0; i < kDepth; ++i) text += "<b>";
    text += "B";
    for (int i = 0; i < kDepth; ++i) text += "</b>";
    text += "$</label><label alias='after'>ok</label></labels>";
    WriteBytes("Settings/Labels_Deep.xml", text);
    keeper.LoadLabels("Settings\\Labels_Deep.xml");
    EXPECT_EQ(keeper.GetLabel("deep").text, "AB$");
    EXPECT_EQ(keeper.GetLabel("after").text, "ok");
}

TEST_F(KeeperTest, LanguagesAndSelection) {
    WriteTestLanguages();
    EXPECT_EQ(keeper.GetLanguageIndex(7), 1);  // reads the languages file on demand
    EXPECT_EQ(keeper.GetLanguageIndex(3), -1);
    ASSERT_EQ(keeper.GetLanguageCount(), 2);
    EXPECT_EQ(keeper.GetLanguageName(1), "Second");
    EXPECT_EQ(keeper.GetLanguageName(2), "");
    EXPECT_NE(NewLog().find("lang_index < GetLanguageCount()"), std::string::npos);

    keeper.SelectLanguage(1);
    EXPECT_EQ(keeper.GetSelectedLanguage(), 1);
    EXPECT_EQ(keeper.GetLabel("hello").text, "Servus");
    keeper.SelectLanguage(5);
    EXPECT_NE(NewLog().find("Error: Incorrect language #5 selected!"), std::string::npos);
    EXPECT_EQ(keeper.GetSelectedLanguage(), 0);
    EXPECT_EQ(keeper.GetLabel("hello").text, "Hello");
}

TEST_F(KeeperTest, LanguagesFileWithoutLanguageSelectsNone) {
    WriteBytes("Settings/Languages.xml", "<Languages/>");
    keeper.SelectLanguage(0);
    EXPECT_EQ(keeper.GetSelectedLanguage(), -1);
    EXPECT_EQ(keeper.GetLanguageCount(), 0);
    EXPECT_EQ(keeper.GetFont(), nullptr);
    EXPECT_NE(NewLog().find("Error: No language in 'Settings\\Languages.xml'!"), std::string::npos);
    // Printing without fonts logs and draws nothing.
    EXPECT_FALSE(keeper.LayoutLabelArgs(&batch, 0, 0, "hello", PrintfArg(), PrintfArg()));
}

TEST_F(KeeperTest, MultiLineLabelsWithArguments) {
    SelectTestLanguage();
    // "Ab|%d" with 120: "Ab" at y and "120" 1.01 heights lower.
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 100, 50, "two", PrintfArg(120), PrintfArg()));
    ASSERT_EQ(batch.GetCount(), 5);
    EXPECT_FLOAT_EQ(batch.GetRect(0)->GetTop(), 50.0f);
    EXPECT_FLOAT_EQ(batch.GetRect(1)->GetTop(), 50.0f);
    EXPECT_FLOAT_EQ(batch.GetRect(2)->GetTop(), 50.0f + 10.1f);
    EXPECT_FLOAT_EQ(batch.GetRect(2)->GetLeft(), 100.0f);
    EXPECT_EQ(keeper.GetLabelLineCount("two"), 2);

    // Empty pieces are dropped: "A||B" gives two lines.
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "gap", PrintfArg(), PrintfArg()));
    ASSERT_EQ(batch.GetCount(), 2);
    EXPECT_FLOAT_EQ(batch.GetRect(1)->GetTop(), 10.1f);

    // "B|" is one line, printed whole (the bar has no glyph and takes '$').
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "trail", PrintfArg(), PrintfArg()));
    EXPECT_EQ(batch.GetCount(), 2);
    EXPECT_EQ(keeper.GetLabelLineCount("trail"), 1);

    // An empty text prints nothing and keeps the count unknown.
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "empty", PrintfArg(), PrintfArg()));
    EXPECT_EQ(batch.GetCount(), 0);
    EXPECT_EQ(keeper.GetLabelLineCount("empty"), 0);

    EXPECT_FALSE(keeper.LayoutLabelArgs(&batch, 0, 0, "absent", PrintfArg(), PrintfArg()));
    EXPECT_NE(NewLog().find("Error: Label 'absent' not found!"), std::string::npos);
}

TEST_F(KeeperTest, ArgumentsThatDoNotFitPrintTheTextAsWritten) {
    SelectTestLanguage();
    // "%d" given a string: shown as written, two glyphs ('%' falls back to '$').
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "number", PrintfArg::MakeString("12345"), PrintfArg()));
    EXPECT_EQ(batch.GetCount(), 2);
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "number", PrintfArg(12345), PrintfArg()));
    EXPECT_EQ(batch.GetCount(), 5);
}

TEST_F(KeeperTest, LineCountIsCachedOnceSingle) {
    SelectTestLanguage();
    // "%s" is one line the first time; later arguments with a bar are not
    // split again, and the text after the bar is kept on that line.
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "name", PrintfArg::MakeString("AB"), PrintfArg()));
    EXPECT_EQ(keeper.GetLabelLineCount("name"), 1);
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "name", PrintfArg::MakeString("A|B"), PrintfArg()));
    EXPECT_EQ(keeper.GetLabelLineCount("name"), 1);
    ASSERT_EQ(batch.GetCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(batch.GetRect(i)->GetTop(), 0.0f);
    EXPECT_GT(batch.GetRect(2)->GetLeft(), batch.GetRect(1)->GetLeft());
    // Reading the labels again forgets the counts.
    keeper.SelectLanguage(0);
    EXPECT_EQ(keeper.GetLabelLineCount("name"), 0);
}

TEST_F(KeeperTest, StyleOverrideAndLabelLook) {
    SelectTestLanguage();
    // "shadowed": colour FF00FF00, height 10, shadow 80000000 at (2, 3): shadow quad first.
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 10, 20, "shadowed", PrintfArg(), PrintfArg()));
    ASSERT_EQ(batch.GetCount(), 2);
    EXPECT_EQ(batch.GetRect(0)->GetColor(0), 0x80000000u);
    EXPECT_FLOAT_EQ(batch.GetRect(0)->GetLeft(), 12.0f);
    EXPECT_FLOAT_EQ(batch.GetRect(0)->GetTop(), 23.0f);
    EXPECT_EQ(batch.GetRect(1)->GetColor(3), 0xFF00FF00u);
    EXPECT_FLOAT_EQ(batch.GetRect(1)->GetLeft(), 10.0f);

    TextStyle style;
    style.color = 0x80123456;
    style.height = 20.0f;
    keeper.EnableStyleOverride(true);
    keeper.SetLabelStyle(style);
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 10, 20, "shadowed", PrintfArg(), PrintfArg()));
    keeper.EnableStyleOverride(false);
    ASSERT_EQ(batch.GetCount(), 2);
    EXPECT_EQ(batch.GetRect(1)->GetColor(0), 0x80123456u);
    EXPECT_FLOAT_EQ(batch.GetRect(1)->GetBottom() - batch.GetRect(1)->GetTop(), 20.0f);
    EXPECT_EQ(batch.GetRect(0)->GetColor(0), 0x80000000u);  // the shadow keeps the label's

    // A grey item: the label's style with another colour, the label's alpha.
    keeper.EnableStyleOverride(true);
    keeper.SetLabelStyle(keeper.GetLabel("shadowed").style);
    keeper.SetStyleColor(0x808080);
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 10, 20, "shadowed", PrintfArg(), PrintfArg()));
    keeper.EnableStyleOverride(false);
    EXPECT_EQ(batch.GetRect(1)->GetColor(0), 0xFF808080u);

    // Off again: the label's own look.
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 10, 20, "shadowed", PrintfArg(), PrintfArg()));
    EXPECT_EQ(batch.GetRect(1)->GetColor(0), 0xFF00FF00u);
}

TEST_F(KeeperTest, UnknownFontIdKeepsTheActiveFont) {
    SelectTestLanguage();
    // "big" uses font 1 (letters 20 high); "badfont" asks for font 9.
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "big", PrintfArg(), PrintfArg()));
    ASSERT_TRUE(keeper.LayoutLabelArgs(&batch, 0, 0, "badfont", PrintfArg(), PrintfArg()));
    int active = -1;
    keeper.GetFont()->GetActiveFont(&active);
    EXPECT_EQ(active, 1);
    // Font 1's "A" is twice as wide for its height as font 0's.
    ASSERT_EQ(batch.GetCount(), 1);
    EXPECT_FLOAT_EQ(batch.GetRect(0)->GetRight() - batch.GetRect(0)->GetLeft(), 20.0f);
}

}  // namespace
