// A dialog loaded from XML with the shipped kinds, skins and fonts, driven by
// injected mouse and keyboard input frame by frame and read back from the real
// render device: the panel unfolding into its frame, the title, a button's
// caption turning gold under the pointer, a check mark after a click, and
// Enter on the focused button answering through the result word.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "shot_png.h"
#include "gui/base_dialog.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

constexpr uint32_t kBackground = 0xFF283040;

constexpr const char* kDialog =
    "<Dialog>"
    "<Control type='PANEL' id='P' left='200' top='110' width='400' height='360' expand_by_y='1'/>"
    "<Control type='LABEL' id='T' left='400' top='150' caption='Title_Options'/>"
    "<Control type='CHECK_BOX' id='FS' left='250' top='214' width='300' height='30' caption='Opt_Fullscreen'/>"
    "<Control type='CHECK_BOX' id='HI' left='250' top='262' width='300' height='30' caption='Opt_Hints'/>"
    "<Control type='BUTTON' id='ID_OK' left='230' top='380' width='160' height='48'>"
    "<Caption label='Btn_Ok'/></Control>"
    "<Control type='BUTTON' id='ID_CANCEL' left='410' top='380' width='160' height='48' kind='1'>"
    "<Caption label='Btn_Cancel'/></Control>"
    "</Dialog>";

int R(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int G(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(uint32_t c) { return static_cast<int>(c & 0xFF); }

bool IsGold(uint32_t c) { return R(c) > 150 && R(c) > B(c) + 60 && G(c) > B(c); }
bool IsGlass(uint32_t c) { return B(c) > R(c) + 30 && B(c) > 40; }
bool IsWhite(uint32_t c) { return R(c) > 230 && G(c) > 230 && B(c) > 230; }
bool IsCaptionGold(uint32_t c) { return R(c) > 230 && G(c) > 190 && B(c) < 130; }
bool IsGreen(uint32_t c) { return G(c) > 120 && G(c) > R(c) + 40 && G(c) > B(c) + 40; }

class ResultDialog : public CBaseDialog {
public:
    void OnClick(CBaseControl* c) override {
        if (c->GetId() == "ID_OK") SetResult(1);
        if (c->GetId() == "ID_CANCEL") SetResult(2);
    }
};

class DialogRenderTest : public GuiTest {
protected:
    void Draw(CBaseDialog& d) { Frame([&] { d.Draw(false); }, kBackground); }
    // An injected pointer movement: the engine moves the cursor when the frame
    // ends, so the controls see it from the next frame on.
    void Point(CBaseDialog& d, int x, int y) {
        window()->InjectMouseMove(x, y);
        Draw(d);
        ASSERT_EQ(core().GetMouse()->GetX(), x);
        ASSERT_EQ(core().GetMouse()->GetY(), y);
    }
    int Count(const std::vector<uint32_t>& px, int l, int t, int r, int b, bool (*pred)(uint32_t)) const {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += pred(At(px, x, y));
        return n;
    }
    void SavePng(const std::vector<uint32_t>& px, const std::string& name) {
        test_shots::SaveFramePng(px, 800, 600, test_shots::ShotsDir("gui") / name);
    }
};

TEST_F(DialogRenderTest, PanelCaptionHoverCheckMarkAndEnter) {
    ResultDialog d;
    ASSERT_TRUE(d.Load(Node(kDialog, "/Dialog")));
    ASSERT_EQ(d.GetControlCount(), 6u);
    d.Activate();

    // Opening: after three of six frames the panel is (48 + 312 * 3 / 6) = 204 high about its middle (290).
    for (int i = 0; i < 3; ++i) Draw(d);
    auto px = ReadBack();
    EXPECT_EQ(At(px, 250, 160), kBackground);  // above the unfolding panel
    EXPECT_TRUE(IsGlass(At(px, 400, 290))) << std::hex << At(px, 400, 290);
    EXPECT_TRUE(IsGold(At(px, 203, 290))) << std::hex << At(px, 203, 290);
    for (int i = 0; i < 3; ++i) Draw(d);
    px = ReadBack();
    SavePng(px, "gui_dialog_open.png");

    // The full frame: gold rim on all four sides, glass inside, background outside.
    EXPECT_TRUE(IsGold(At(px, 203, 290))) << std::hex << At(px, 203, 290);
    EXPECT_TRUE(IsGold(At(px, 596, 290))) << std::hex << At(px, 596, 290);
    EXPECT_TRUE(IsGold(At(px, 400, 113))) << std::hex << At(px, 400, 113);
    EXPECT_TRUE(IsGold(At(px, 400, 466))) << std::hex << At(px, 400, 466);
    EXPECT_TRUE(IsGlass(At(px, 400, 340))) << std::hex << At(px, 400, 340);
    EXPECT_EQ(At(px, 198, 290), kBackground);
    EXPECT_EQ(At(px, 400, 472), kBackground);
    // The title in its gold label colour.
    EXPECT_GT(Count(px, 300, 130, 500, 180, IsCaptionGold), 150);
    // Both checks unchecked: no green in the boxes.
    EXPECT_EQ(Count(px, 250, 214, 278, 242, IsGreen), 0);

    // The OK caption is white; under the pointer it turns gold over 20 frames.
    const int white_before = Count(px, 250, 388, 370, 421, IsWhite);
    EXPECT_GT(white_before, 80);
    EXPECT_EQ(Count(px, 250, 388, 370, 421, IsCaptionGold), 0);
    Point(d, 300, 400);
    for (int i = 0; i < 20; ++i) Draw(d);
    px = ReadBack();
    EXPECT_GT(Count(px, 250, 388, 370, 421, IsCaptionGold), white_before / 2);
    EXPECT_LT(Count(px, 250, 388, 370, 421, IsWhite), white_before / 4);
    // The other button stays white.
    EXPECT_GT(Count(px, 430, 388, 550, 421, IsWhite), 80);
    SavePng(px, "gui_dialog_hover.png");

    // A click on the first check box draws its mark.
    Point(d, 264, 228);
    Button(true);
    Draw(d);
    Button(false);
    Draw(d);
    px = ReadBack();
    EXPECT_GT(Count(px, 250, 214, 278, 242, IsGreen), 60);
    EXPECT_EQ(Count(px, 250, 262, 278, 290, IsGreen), 0);
    SavePng(px, "gui_dialog_checked.png");
    EXPECT_EQ(d.GetResult(), 0);

    // Keyboard: the arrows walk the pointer to the second button, Enter clicks it.
    d.OnKeyDown(plat::VK_RIGHT);
    d.OnKeyDown(plat::VK_RIGHT);
    EXPECT_EQ(d.GetFocus(), 5);
    Draw(d);
    Key(plat::VK_RETURN, true);
    Draw(d);
    Key(plat::VK_RETURN, false);
    Draw(d);
    EXPECT_EQ(d.GetResult(), 2);
}

}  // namespace
