// The generated fonts and the shipped labels work together: every language
// loads, every label names an existing font, every character of every label
// text has a glyph in its font, and every line fits the 800-pixel screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/data_test_support.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "graphics/bitmap_font.h"
#include "graphics/font_keeper.h"

namespace {

class FontDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_test::PrepareLogOnce();
        saved_ = std::filesystem::current_path();
        std::filesystem::current_path(VOVARO_DATA_DIR);
    }
    void TearDown() override { std::filesystem::current_path(saved_); }
    std::filesystem::path saved_;
};

TEST_F(FontDataTest, GeneratedFontsCoverTheCodePage) {
    CFontKeeper keeper;
    keeper.SelectLanguage(0);
    const auto& descs = keeper.GetFontDescs();
    ASSERT_GE(descs.size(), 3u);  // body, heading, score at least
    const CBitmapFont& font = *keeper.GetFont();
    for (int f = 0; f < font.GetFontCount(); ++f) {
        SCOPED_TRACE(descs[f].texture);
        EXPECT_TRUE(std::filesystem::exists(
            std::filesystem::path(VOVARO_DATA_DIR) / "Textures/Fonts" /
            std::filesystem::path(descs[f].texture.substr(descs[f].texture.rfind('\\') + 1))));
        for (int code = 32; code < 256; ++code) {
            const bool undefined = code == 0x7F || code == 0x81 || code == 0x8D || code == 0x8F ||
                                   code == 0x90 || code == 0x9D;
            const FontGlyph& g = font.GetGlyph(f, static_cast<uint8_t>(code));
            EXPECT_EQ(g.present, undefined ? 0 : 1) << "code " << code;
            if (g.present) {
                EXPECT_LT(g.left, g.right) << "code " << code;
                EXPECT_LT(g.top, g.bottom) << "code " << code;
            }
        }
    }
}

TEST_F(FontDataTest, EveryLabelPrintsWithItsOwnGlyphsOnScreen) {
    CFontKeeper keeper;
    keeper.SelectLanguage(0);
    ASSERT_EQ(keeper.GetLanguageCount(), 2);
    for (int lang = 0; lang < keeper.GetLanguageCount(); ++lang) {
        keeper.SelectLanguage(lang);
        SCOPED_TRACE(keeper.GetLanguageName(lang));
        CBitmapFont& font = *keeper.GetFont();
        for (const std::string& alias : {std::string("GameOver"), std::string("Title_NewPlayer"),
                                         std::string("Tip_2"), std::string("Help_Text")}) {
            ASSERT_TRUE(keeper.HasLabel(alias)) << alias;
        }
        // The labels file is read again here to walk its aliases in order.
        CXMLFile file("Settings\\" + std::string(lang == 0 ? "Labels_English.xml" : "Labels_German.xml"));
        CXMLNodeList nodes = file.SelectNodes("//labels/label");
        ASSERT_GT(nodes.GetLength(), 0);
        for (int i = 0; i < nodes.GetLength(); ++i) {
            const LabelDesc label = keeper.GetLabel(nodes.GetItem(i).GetAttribute("alias", ""));
            SCOPED_TRACE(label.alias);
            ASSERT_LT(label.font_id, font.GetFontCount());
            EXPECT_GT(label.style.height, 0.0f);
            for (char c : label.text)
                EXPECT_TRUE(font.GetGlyph(label.font_id, static_cast<uint8_t>(c)).present) << "char " << int(uint8_t(c));
            font.SetActiveFont(label.font_id);
            font.SetParams(0, label.style.height, static_cast<float>(label.style.spacing));
            size_t start = 0;
            while (start <= label.text.size()) {
                size_t bar = label.text.find('|', start);
                if (bar == std::string::npos) bar = label.text.size();
                const std::string line = label.text.substr(start, bar - start);
                EXPECT_LE(font.GetStringWidth(line), 760) << line;
                start = bar + 1;
            }
        }
    }
}

}  // namespace
