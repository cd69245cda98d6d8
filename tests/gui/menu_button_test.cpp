// Buttons driven frame by frame through the engine core's input: the order of
// their events, what ends a press, their sounds, caption and glyph fades and
// the state sprites of code-made buttons.
#include <gtest/gtest.h>

#include "graphics/textured_rects_list.h"
#include "gui/control_factory.h"
#include "gui/menu_button.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

using Events = std::vector<std::string>;

constexpr const char* kGlyphs =
    "<Glyph dis_x='4' dis_y='2'><graphics texture='Textures\\GUI\\button.png' tex_rect='0 64 128 104'"
    " width='112' height='36' color='FFC0C0C0'/></Glyph>"
    "<GlyphHover><graphics texture='Textures\\GUI\\button.png' tex_rect='0 104 128 144' width='112' height='36'/>"
    "</GlyphHover>"
    "<GlyphPressed><graphics texture='Textures\\GUI\\button.png' tex_rect='0 144 128 184' width='112' height='36'/>"
    "</GlyphPressed>";

class ButtonTest : public GuiTest {
protected:
    // A button at (100, 100), 120x40.
    std::unique_ptr<CMenuButton> MakeButton(const std::string& children = "<Caption label='Btn_Ok'/>",
                                            const std::string& extra = "") {
        auto control = CreateControl(&events, Node("<Control type='BUTTON' id='B' left='100' top='100' width='120'"
                                                   " height='40' " + extra + ">" + children + "</Control>",
                                                   "/Control"));
        auto* button = dynamic_cast<CMenuButton*>(control.get());
        EXPECT_NE(button, nullptr);
        control.release();
        return std::unique_ptr<CMenuButton>(button);
    }
    void Run(CBaseControl& c, int frames = 1) {
        for (int i = 0; i < frames; ++i) Frame([&] { c.Draw(false); });
    }
    static void Joystick(bool down) {
        plat::JoystickState st;
        st.buttons[0] = down ? 0x80 : 0;
        core().GetInputManager()->ApplyJoystickState(st);
    }
    void TearDown() override {
        Joystick(false);
        GuiTest::TearDown();
    }
};

TEST_F(ButtonTest, ClickEventsInOrderAndLeavingCancels) {
    auto b = MakeButton();
    MoveTo(150, 120);
    Run(*b);
    Button(true);
    Run(*b);
    EXPECT_TRUE(b->IsPressed());
    Button(false);
    Run(*b);
    EXPECT_EQ(events.events, (Events {"enter B", "down B", "up B", "click B"}));

    // Pressed, then the pointer leaves before the release: no up, no click.
    events.Clear();
    Button(true);
    Run(*b);
    MoveTo(10, 10);
    Run(*b);
    EXPECT_FALSE(b->IsPressed());
    Button(false);
    Run(*b, 2);
    EXPECT_EQ(events.events, (Events {"down B", "leave B"}));

    // Pressing outside and sliding in with the button held counts as a press.
    events.Clear();
    Button(true);
    Run(*b);
    MoveTo(150, 120);
    Run(*b);
    EXPECT_EQ(events.events, (Events {"enter B", "down B"}));
}

TEST_F(ButtonTest, EdgesAreOutside) {
    auto b = MakeButton();
    struct Case {
        int x, y;
        bool over;
    };
    for (const Case& c : {Case {100, 120, false}, Case {220, 120, false}, Case {150, 100, false},
                          Case {150, 140, false}, Case {101, 101, true}, Case {219, 139, true}}) {
        MoveTo(c.x, c.y);
        Run(*b);
        EXPECT_EQ(b->IsOver(), c.over) << c.x << "," << c.y;
    }
}

TEST_F(ButtonTest, PressSources) {
    auto b = MakeButton();
    MoveTo(150, 120);
    Run(*b);
    events.Clear();

    // Enter with the mouse button also held: the key is the source, its release clicks.
    Button(true);
    Key(plat::VK_RETURN, true);
    Run(*b);
    EXPECT_EQ(b->GetPressSource(), CBaseMenuButton::psEnterKey);
    Run(*b, 3);
    Key(plat::VK_RETURN, false);
    Run(*b);
    EXPECT_EQ(events.events, (Events {"down B", "up B", "click B"}));
    // The mouse button still held starts the next press at once.
    Run(*b);
    EXPECT_EQ(b->GetPressSource(), CBaseMenuButton::psMouse);
    Button(false);
    Run(*b);
    EXPECT_EQ(events.events.size(), 6u);

    // The joystick's first button.
    events.Clear();
    Joystick(true);
    Run(*b);
    EXPECT_EQ(b->GetPressSource(), CBaseMenuButton::psJoystick);
    Joystick(false);
    Run(*b);
    EXPECT_EQ(events.events, (Events {"down B", "up B", "click B"}));
}

TEST_F(ButtonTest, DisabledOrHiddenButtonsKeepStill) {
    auto b = MakeButton("<Caption label='Btn_Ok'/>", "enabled='0'");
    MoveTo(150, 120);
    Button(true);
    Run(*b, 2);
    EXPECT_TRUE(events.events.empty());
    EXPECT_EQ(b->GetShownState(), CBaseMenuButton::bsDisabled);
    // A disabled caption is grey, whatever the fade.
    EXPECT_EQ(b->GetCaptionText().GetTextStyle().color & 0xFFFFFF, 0x808080u);
    Button(false);
    Run(*b);

    b->SetEnabled(true);
    b->SetVisible(false);
    Run(*b, 2);
    EXPECT_TRUE(events.events.empty());
    b->SetVisible(true);
    Run(*b);
    EXPECT_EQ(events.events, (Events {"enter B"}));
    // Enabled again, the caption leaves its grey at once (one fade step in).
    EXPECT_EQ(b->GetCaptionText().GetTextStyle().color, b->GetCaptionFadeTable()[1]);
}

TEST_F(ButtonTest, SoundsOfPointerOverAndPress) {
    auto plain = MakeButton();
    EXPECT_EQ(std::count(sounds->loaded.begin(), sounds->loaded.end(), "btn_enter"), 1);
    MoveTo(150, 120);
    Run(*plain);
    Button(true);
    Run(*plain);
    Button(false);
    Run(*plain);
    EXPECT_EQ(sounds->played, (Events {"btn_enter"}));

    sounds->played.clear();
    sounds->loaded.clear();
    MoveTo(0, 0);
    auto quiet = MakeButton("<Sound mouse_over='' button_down='btn_down'/>");
    EXPECT_EQ(quiet->GetMouseOverSample(), "");
    EXPECT_EQ(sounds->loaded, (Events {"btn_enter", "btn_down"}));
    MoveTo(150, 120);
    Run(*quiet);
    Button(true);
    Run(*quiet);
    EXPECT_EQ(sounds->played, (Events {"btn_down"}));
}

TEST_F(ButtonTest, CaptionFadesToTheHoverColourAndBack) {
    auto b = MakeButton();
    const auto& table = b->GetCaptionFadeTable();
    ASSERT_EQ(table.size(), 21u);  // 20 steps
    EXPECT_EQ(table.front(), 0xFFFFFFFFu);
    EXPECT_EQ(table.back(), 0xFFFFD850u);
    EXPECT_EQ(b->GetCaptionOffset().x, 60);  // half the width
    EXPECT_EQ(b->GetCaptionOffset().y, 20);

    MoveTo(150, 120);
    Run(*b, 10);
    EXPECT_EQ(b->GetCaptionFadeIndex(), 10u);
    EXPECT_EQ(b->GetCaptionText().GetTextStyle().color, table[10]);
    Run(*b, 10);
    EXPECT_EQ(b->GetCaptionFadeIndex(), 20u);
    Run(*b, 5);
    EXPECT_EQ(b->GetCaptionFadeIndex(), 20u);
    EXPECT_EQ(b->GetCaptionText().GetTextStyle().color, 0xFFFFD850u);
    EXPECT_EQ(b->GetCaptionText().GetPosition(), CVector2(160, 120));

    MoveTo(10, 10);
    Run(*b, 19);
    EXPECT_EQ(b->GetCaptionFadeIndex(), 1u);
    Run(*b, 3);
    EXPECT_EQ(b->GetCaptionFadeIndex(), 0u);
    EXPECT_EQ(b->GetCaptionText().GetTextStyle().color, 0xFFFFFFFFu);
}

TEST_F(ButtonTest, FadeTablesHoldStepsPlusOneColours) {
    EXPECT_EQ(BuildFadeTable(0xFF000000, 0xFFFFFFFF, 0), (std::vector<uint32_t> {0xFF000000}));
    const auto t = BuildFadeTable(0x00000000, 0xFF3C78F0, 3);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], 0u);
    EXPECT_EQ(t[3], 0xFF3C78F0u);
    EXPECT_EQ((t[1] >> 24) & 0xFF, 0x55u);
    EXPECT_EQ(t[2] >> 24, 0xAAu);
}

TEST_F(ButtonTest, GlyphsFollowHoverPressAndFade) {
    auto b = MakeButton(kGlyphs);
    ASSERT_TRUE(b->HasGlyph());
    EXPECT_FALSE(b->HasCaption());
    EXPECT_EQ(b->GetCurrentGlyph(), b->GetNormalGlyph());
    EXPECT_EQ(b->GetNormalGlyph()->GetLeft(), 104);
    EXPECT_EQ(b->GetNormalGlyph()->GetTop(), 102);
    EXPECT_EQ(b->GetGlyphFadeTable().front(), 0xFFC0C0C0u);
    EXPECT_EQ(b->GetGlyphFadeTable().back(), 0xFFFFFFFFu);
    // Without "GlyphDisabled" the disabled glyph is a grey copy on a texture of its own.
    ASSERT_NE(b->GetDisabledGlyph(), nullptr);
    EXPECT_NE(b->GetDisabledGlyph()->GetRenderer()->GetTexture(), b->GetNormalGlyph()->GetRenderer()->GetTexture());

    MoveTo(150, 120);
    Run(*b, 5);
    EXPECT_EQ(b->GetCurrentGlyph(), b->GetHoverGlyph());
    EXPECT_EQ(b->GetCurrentGlyph()->GetColor(0), b->GetGlyphFadeTable()[5]);
    Button(true);
    Run(*b);
    EXPECT_EQ(b->GetCurrentGlyph(), b->GetPressedGlyph());
    // The new glyph took the colour of the one before it.
    EXPECT_EQ(b->GetPressedGlyph()->GetColor(0), b->GetGlyphFadeTable()[6]);
    Button(false);
    Run(*b);
    EXPECT_EQ(b->GetCurrentGlyph(), b->GetHoverGlyph());
    MoveTo(10, 10);
    Run(*b);
    EXPECT_EQ(b->GetCurrentGlyph(), b->GetNormalGlyph());

    // Moving the button moves its glyphs and frame.
    const float frame_left = b->GetFrameRenderer()->GetRect(0)->GetLeft();
    b->SetPosition(200, 300);
    EXPECT_EQ(b->GetNormalGlyph()->GetLeft(), 204);
    EXPECT_EQ(b->GetDisabledGlyph()->GetTop(), 302);
    EXPECT_EQ(b->GetFrameRenderer()->GetRect(0)->GetLeft(), frame_left + 100);
}

TEST_F(ButtonTest, CodeMadeButtonsUseTheFirstKind) {
    CMenuButton b(&events);
    b.SetupCodeButton(10, 20, 120, 36, "Btn_Back");
    EXPECT_TRUE(b.HasCaption());
    EXPECT_EQ(b.GetCaptionOffset(), CVector2(0, 0));
    EXPECT_EQ(b.GetCaptionFadeTable().size(), static_cast<size_t>(CMenuButton::GetKinds()[0].hover_steps + 1));
    EXPECT_GT(b.GetFrameRenderer()->GetCount(), 0);
    EXPECT_EQ(b.GetMouseOverSample(), "btn_enter");
    EXPECT_TRUE(b.IsEnabled());

    CMenuButton bare(&events);
    bare.SetupCodeButton(10, 20, 120, 36, "");
    EXPECT_FALSE(bare.HasCaption());
    EXPECT_TRUE(bare.GetCaptionFadeTable().empty());
}

TEST_F(ButtonTest, StateSpritesOfABaseButton) {
    CBaseMenuButton b(&events);
    b.Setup(CFloatRect(300, 300, 324, 324), "Textures\\GUI\\trackbar.png", CFloatRect(0, 0, 24, 24),
            CFloatRect(24, 0, 48, 24), CFloatRect(0, 0, 24, 24), CFloatRect(0, 0, 24, 24));
    EXPECT_EQ(b.GetShownState(), CBaseMenuButton::bsNormal);
    MoveTo(310, 310);
    Run(b);
    EXPECT_EQ(b.GetShownState(), CBaseMenuButton::bsHover);
    Button(true);
    Run(b);
    EXPECT_EQ(b.GetShownState(), CBaseMenuButton::bsPressed);
    Button(false);
    Run(b);
    b.SetEnabled(false);
    Run(b);
    EXPECT_EQ(b.GetShownState(), CBaseMenuButton::bsDisabled);
    EXPECT_EQ(events.events, (Events {"enter ", "down ", "up ", "click "}));

    // Focus puts the pointer on the centre.
    b.SetFocus();
    EXPECT_EQ(core().GetMouse()->GetX(), 312);
    EXPECT_EQ(core().GetMouse()->GetY(), 312);
}

}  // namespace

namespace {

TEST_F(ButtonTest, GlyphPolygonNarrowsTheHotArea) {
    // A glyph whose animation frame carries a triangle over the button's left part.
    UseScratch();
    data_test::WriteBytes("Textures/tri.xml",
                          "<Animation speed='3'><Frame tex_rect='0 0 128 40' poly='3 0 0 64 0 0 40'/></Animation>");
    WriteWhitePng("Textures/tri.png", 128, 40);
    auto b = MakeButton("<Glyph><graphics texture='Textures\\tri.png' width='120' height='40'>"
                        "<animation file='Textures\\tri.xml'/></graphics></Glyph>");
    ASSERT_TRUE(b->GetCurrentGlyph()->GetAnimation()->HasPolygons());
    struct Case {
        int x, y;
        bool over;
    };
    for (const Case& c : {Case {110, 105, true}, Case {150, 102, true}, Case {200, 130, false}, Case {160, 135, false}}) {
        MoveTo(c.x, c.y);
        Run(*b, 2);
        EXPECT_EQ(b->IsOver(), c.over) << c.x << "," << c.y;
    }
}

}  // namespace
