// The menu panel's frame and its opening: six drawn steps from a strip as tall
// as its corners to exactly its full rectangle, centred, paused while hidden,
// replayed by Activate, and moved with the panel.
#include <gtest/gtest.h>

#include "graphics/textured_rects_list.h"
#include "gui/control_factory.h"
#include "gui/menu_panel.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

class PanelTest : public GuiTest {
protected:
    // A skin without texture whose glass is the whole rectangle and whose left
    // corners are 20 high, so the first quad shows the frame being drawn.
    void UseTestSkin() {
        UseScratch();
        data_test::WriteBytes("Settings/controls.xml",
                              "<Controls><Panels><Panel activate_sample='whoosh'>"
                              "<Corners><TopLeft width='20' height='20'/><BottomLeft width='20' height='20'/></Corners>"
                              "<Glass tex_rect='0 0 8 8'/></Panel></Panels></Controls>");
        LoadControlKinds();
    }
    std::unique_ptr<CMenuPanel> MakePanel(const std::string& attributes) {
        auto control = CreateControl(&events, Node("<Control type='PANEL' " + attributes + "/>", "/Control"));
        return std::unique_ptr<CMenuPanel>(static_cast<CMenuPanel*>(control.release()));
    }
    static CFloatRect Drawn(CMenuPanel& p) { return p.GetRenderer()->GetRect(0)->GetRect(); }
};

TEST_F(PanelTest, UnfoldsInSixCentredStepsToExactlyItsRectangle) {
    UseTestSkin();
    auto p = MakePanel("left='100' top='100' width='300' height='200' expand_by_y='1'");
    ASSERT_EQ(p->GetOpeningFrames().size(), 7u);
    EXPECT_EQ(Drawn(*p).Height(), 40);  // built collapsed at load, never drawn so
    for (int k = 1; k <= 6; ++k) {
        Frame([&] { p->Draw(false); });
        const CFloatRect r = Drawn(*p);
        EXPECT_NEAR(r.Height(), 40 + 160.0f * k / 6, 1.0f) << k;
        EXPECT_NEAR((r.top + r.bottom) / 2, 200, 1.0f) << k;
    }
    EXPECT_EQ(Drawn(*p), CFloatRect(100, 100, 400, 300));
    Frame([&] { p->Draw(false); });
    EXPECT_EQ(Drawn(*p), CFloatRect(100, 100, 400, 300));

    // Heights whose sixths do not add up exactly still give six steps and the exact rectangle.
    for (int h : {41, 55, 127, 333, 599}) {
        auto q = MakePanel("left='7' top='13' width='50' height='" + std::to_string(h) + "' expand_by_y='1'");
        ASSERT_EQ(q->GetOpeningFrames().size(), 7u) << h;
        EXPECT_EQ(q->GetOpeningFrames().back(), CFloatRect(7, 13, 57, 13.0f + h)) << h;
    }
}

TEST_F(PanelTest, PlainHiddenAndReplayedOpenings) {
    UseTestSkin();
    auto plain = MakePanel("left='0' top='0' width='100' height='200'");
    EXPECT_EQ(plain->GetOpeningFrames().size(), 1u);
    Frame([&] { plain->Draw(false); });
    EXPECT_EQ(Drawn(*plain), CFloatRect(0, 0, 100, 200));

    // No taller than its corners: nothing to unfold.
    auto flat = MakePanel("width='100' height='40' expand_by_y='1'");
    EXPECT_EQ(flat->GetOpeningFrames().size(), 1u);

    auto p = MakePanel("left='0' top='0' width='100' height='200' expand_by_y='1'");
    Frame([&] { p->Draw(false); });
    p->SetVisible(false);
    Frame([&] { p->Draw(false); });
    EXPECT_EQ(p->GetFrameIndex(), 1u);
    p->SetVisible(true);
    Frame([&] { p->Draw(false); });
    EXPECT_EQ(p->GetFrameIndex(), 2u);

    p->Activate();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"whoosh"}));
    EXPECT_EQ(std::count(sounds->loaded.begin(), sounds->loaded.end(), "whoosh"), 3);
    Frame([&] { p->Draw(false); });
    EXPECT_NEAR(Drawn(*p).Height(), 40 + 160.0f / 6, 1.0f);
}

TEST_F(PanelTest, MovingMovesTheFrameAndTheOpening) {
    UseTestSkin();
    auto p = MakePanel("left='100' top='100' width='300' height='200' expand_by_y='1'");
    for (int i = 0; i < 7; ++i) Frame([&] { p->Draw(false); });
    p->SetPosition(150, 80);
    EXPECT_EQ(Drawn(*p), CFloatRect(150, 80, 450, 280));
    EXPECT_EQ(p->GetX(), 150);
    p->Activate();
    for (int i = 0; i < 6; ++i) Frame([&] { p->Draw(false); });
    EXPECT_EQ(Drawn(*p), CFloatRect(150, 80, 450, 280));
}

TEST_F(PanelTest, ShippedSkinFramesThePanel) {
    auto p = MakePanel("left='100' top='100' width='300' height='200'");
    const FrameSkin& skin = GetPanelKind().skin;
    // Glass, (300 - 48) / 4 = 63 top and bottom pieces, (200 - 48) / 4 = 38 side pieces, four corners.
    EXPECT_EQ(p->GetRenderer()->GetCount(), 1 + 63 + 63 + 38 + 38 + 4);
    EXPECT_EQ(skin.top_left.height, 24);
    EXPECT_EQ(p->GetRenderer()->GetRect(0)->GetRect(), CFloatRect(106, 106, 394, 294));
}

}  // namespace
