// The edit box: which keys it takes and when, its limits, Backspace and
// Enter, the owner's events, and the blinking caret.
#include <gtest/gtest.h>

#include "graphics/bitmap_font.h"
#include "graphics/font_keeper.h"
#include "gui/control_factory.h"
#include "gui/menu_edit.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

using Events = std::vector<std::string>;

class EditTest : public GuiTest {
protected:
    std::unique_ptr<CMenuEdit> MakeEdit(const std::string& attributes = "") {
        auto control = CreateControl(
            &events, Node("<Control type='EDIT' id='E' left='100' top='100' width='200' height='30' "
                          "text='Edit_UserName' " + attributes + "/>", "/Control"));
        return std::unique_ptr<CMenuEdit>(static_cast<CMenuEdit*>(control.release()));
    }
    // Presses and releases a key, one frame each, drawing the box; a letter,
    // digit or space key types its key code's character.
    void Type(CMenuEdit& e, int vk) {
        Key(vk, true);
        Frame([&] { e.Draw(true); });  // drawn only: it still reads its keys
        Key(vk, false);
        Frame([&] { e.Draw(true); });
    }
    // The same with the text that the layout, Shift and Caps Lock make of it.
    void Type(CMenuEdit& e, int vk, const std::string& text) {
        window()->InjectKey(vk, true, false, false);
        window()->InjectText(text);
        Drain();
        Frame([&] { e.Draw(true); });  // drawn only: it still reads its keys
        Key(vk, false);
        Frame([&] { e.Draw(true); });
    }
};

TEST_F(EditTest, TakesDigitsAndCapitalsWhileActive) {
    auto e = MakeEdit();
    EXPECT_EQ(e->GetMaxLength(), 12u);
    EXPECT_EQ(e->GetLabel(), "Edit_UserName");
    Type(*e, 'A');
    EXPECT_EQ(e->GetText(), "");  // inactive after loading
    EXPECT_TRUE(events.events.empty());

    e->SetActive(true);
    for (int vk : {int('A'), int('7'), plat::VK_SPACE, 0x60 /* numpad 0: '`' */, int('Z')}) Type(*e, vk);
    EXPECT_EQ(e->GetText(), "A7 Z");
    EXPECT_EQ(events.events, (Events {"key 65 E", "char A E", "key 55 E", "char 7 E", "key 32 E", "char   E",
                                      "key 96 E", "key 90 E", "char Z E"}));

    events.Clear();
    Type(*e, plat::VK_BACK);
    EXPECT_EQ(e->GetText(), "A7 ");
    for (int i = 0; i < 3; ++i) Type(*e, plat::VK_BACK);
    Type(*e, plat::VK_BACK);  // on an empty text: nothing, but the owner hears the key
    EXPECT_EQ(e->GetText(), "");
    EXPECT_EQ(events.events.size(), 5u);

    Type(*e, 'B');
    Type(*e, plat::VK_RETURN);
    EXPECT_FALSE(e->IsActive());
    Type(*e, 'C');
    EXPECT_EQ(e->GetText(), "B");

    e->SetActive(true);
    e->SetEnabled(false);
    Type(*e, 'C');
    EXPECT_EQ(e->GetText(), "B");
    e->SetEnabled(true);
    e->SetVisible(false);
    Type(*e, 'C');
    EXPECT_EQ(e->GetText(), "B");
    e->ClearText();
    EXPECT_EQ(e->GetText(), "");
}

TEST_F(EditTest, LengthLimitsAndDigitsOnly) {
    auto e = MakeEdit();
    e->SetActive(true);
    for (int i = 0; i < 13; ++i) Type(*e, 'A' + i);
    EXPECT_EQ(e->GetText(), "ABCDEFGHIJKL");

    auto wide = MakeEdit("max_text_length='200'");
    wide->SetActive(true);
    for (int i = 0; i < 105; ++i) Type(*wide, '0' + i % 10);
    EXPECT_EQ(wide->GetText().size(), 100u);

    auto digits = MakeEdit();
    digits->SetDigitsOnly(true);
    digits->SetActive(true);
    Type(*digits, 'A');
    Type(*digits, '7');
    EXPECT_EQ(digits->GetText(), "7");
}

TEST_F(EditTest, TakesTheTextAsTypedNotTheKeyCodes) {
    auto e = MakeEdit();
    e->SetActive(true);
    Type(*e, 'A', "A");  // Shift held
    Type(*e, 'N', "n");
    Type(*e, 'N', "n");
    Type(*e, 'A', "a");
    Type(*e, 'Q', "a");  // another layout
    Type(*e, plat::VK_SPACE, " ");
    Type(*e, 'E', "\xC3\xA9");  // not a character of the code page: dropped whole
    EXPECT_EQ(e->GetText(), "Annaa ");
    events.Clear();
    // Two characters typed within one frame are both kept.
    window()->InjectKey('X', true, false, false);
    window()->InjectText("x");
    Key('X', false);
    Key('Y', true);
    Key('Y', false);
    Frame([&] { e->Draw(true); });
    EXPECT_EQ(e->GetText(), "Annaa xY");
    EXPECT_EQ(events.events, (Events {"key 89 E", "char x E", "char Y E"}));
}

// A name takes letters, digits, blanks between words, '-' and the apostrophe;
// the signs between the digits and the capitals and other punctuation are refused.
TEST_F(EditTest, TakesTheCharactersOfANameOnly) {
    struct Case {
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {"Mary-Ann O'Neil", "Mary-Ann O'N"},  // up to the twelve characters
        {"R2 D2", "R2 D2"},
        {":;<=>?@", ""},
        {"A:B;C<D=E>F?G@H", "ABCDEFGH"},
        {"  Jo", "Jo"},  // no blank first
        {"J.o_e!%$", "Joe"},
    };
    for (const Case& c : cases) {
        auto e = MakeEdit();
        e->SetActive(true);
        window()->InjectText(c.typed);
        Drain();
        Frame([&] { e->Draw(true); });
        EXPECT_EQ(e->GetText(), c.kept) << c.typed;
    }
}

// A character the label's font has no glyph for would print as another one.
TEST_F(EditTest, RefusesWhatTheFontCannotPrint) {
    CFontKeeper& keeper = CFontKeeper::Instance();
    const int font_id = keeper.GetLabel("Edit_UserName").font_id;
    std::vector<FontDesc> fonts = keeper.GetFontDescs();
    ASSERT_LT(font_id, static_cast<int>(fonts.size()));
    // The same fonts, but the label's one loses its apostrophe.
    bool removed = false;
    for (uint32_t l = 0; l < fonts[font_id].line_count; ++l)
        for (uint8_t& letter : fonts[font_id].lines[l].letters)
            if (letter == '\'') {
                letter = 0x7F;
                removed = true;
            }
    ASSERT_TRUE(removed);
    keeper.GetFont()->Clear();
    for (const FontDesc& desc : fonts) keeper.GetFont()->AddFont(desc);

    auto e = MakeEdit();
    e->SetActive(true);
    window()->InjectText("O'Neil-Smith");
    Drain();
    Frame([&] { e->Draw(true); });
    keeper.SelectLanguage(keeper.GetSelectedLanguage());
    EXPECT_EQ(e->GetText(), "ONeil-Smith");
}

TEST_F(EditTest, OwnerMayChangeTheKey) {
    auto e = MakeEdit();
    e->SetActive(true);
    Type(*e, 'Q');
    events.replace_key = plat::VK_RETURN;  // the owner turns any key into Enter
    Type(*e, 'W');
    EXPECT_FALSE(e->IsActive());
    EXPECT_EQ(e->GetText(), "Q");
}

TEST_F(EditTest, CaretBlinksInTheSecondHalfOfEvery500Ms) {
    auto e = MakeEdit();
    Type(*e, 'A');
    e->SetActive(true);
    Type(*e, 'A');
    struct Case {
        uint32_t ticks;
        const char* shown;
    };
    for (const Case& c : {Case {0, "A"}, Case {250, "A"}, Case {251, "A_"}, Case {499, "A_"}, Case {500, "A"},
                          Case {1251, "A_"}})
        EXPECT_EQ(e->GetShownText(c.ticks), c.shown) << c.ticks;
    e->SetActive(false);
    EXPECT_EQ(e->GetShownText(300), "A");
}

}  // namespace
