// One dialog with a control of every kind, built from XML with the shipped
// kinds, skins, fonts and labels and read back from the real render device:
// every control lands inside its own rectangle, the page buttons close their
// frames and carry their captions inside them. The frame is also written to
// "gui_all_controls.png" in the shots folder "gui" for a look by eye.
#include <gtest/gtest.h>
#include <png.h>

#include "shot_png.h"
#include "graphics/font_keeper.h"
#include "gui/base_dialog.h"
#include "gui/menu_button.h"
#include "gui/menu_check_box.h"
#include "gui/menu_edit.h"
#include "gui/menu_list_box.h"
#include "gui/menu_page_control.h"
#include "gui/menu_progress_bar.h"
#include "gui/menu_track_bar.h"
#include "gui2_test_support.h"

using namespace gui_test;

namespace {

constexpr uint32_t kBackground = 0xFF283040;

constexpr const char* kDialog = R"(<Dialog>
  <Control type="PANEL" id="P" left="20" top="20" width="760" height="560"/>
  <Control type="LABEL" id="T" left="400" top="58" caption="Title_Options"/>
  <Control type="BUTTON" id="ID_OK" left="60" top="100" width="120" height="48"><Caption label="Btn_Ok"/></Control>
  <Control type="BUTTON" id="ID_CANCEL" left="196" top="100" width="164" height="48" kind="1">
    <Caption label="Btn_Cancel"/></Control>
  <Control type="CHECK_BOX" id="FS" left="60" top="170" width="300" height="30" caption="Opt_Fullscreen"/>
  <Control type="CHECK_BOX" id="HI" left="60" top="210" width="300" height="30" caption="Opt_Hints"/>
  <Control type="TRACKBAR" id="DIFF" left="60" top="284" width="300" height="24" kind="0">
    <Captions dis_x="150" dis_y="-14"><Caption text="easy"/><Caption text="normal"/><Caption text="hard"/></Captions>
  </Control>
  <Control type="PROGRESS_BAR" id="PB0" left="60" top="326" width="216" height="24" kind="0" min="0" max="100" pos="55"/>
  <Control type="PROGRESS_BAR" id="PB1" left="60" top="362" width="216" height="24" kind="1" min="0" max="100" pos="70"/>
  <Control type="IMAGE" id="IMG" left="300" top="340" width="28" height="28">
    <graphics texture="Textures\GUI\checkbox.png" tex_rect="32 0 60 28"/>
  </Control>
  <Control type="LABEL" id="NAME_T" left="60" top="404" caption="Opt_Language"/>
  <Control type="EDIT" id="NAME" left="200" top="404" width="160" height="30" text="Edit_UserName" max_text_length="12"/>
  <Control type="BUTTON" id="ID_OFF" left="60" top="500" width="300" height="48" enabled="0">
    <Caption label="Btn_Back"/></Control>
  <Control type="LISTBOX" id="LB" left="420" top="100" width="320" height="240" item_height="32"/>
  <Control type="PAGECONTROL" id="PC" left="420" top="370" width="320" height="180">
    <Page caption="Page_Bonuses">
      <Control type="LABEL" id="P0" left="430" top="420" caption="Opt_Sound"/>
    </Page>
    <Page caption="Page_Tools">
      <Control type="LABEL" id="P1" left="430" top="420" caption="Opt_Music"/>
    </Page>
  </Control>
</Dialog>)";

int R(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int G(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(uint32_t c) { return static_cast<int>(c & 0xFF); }
bool IsWhite(uint32_t c) { return R(c) > 220 && G(c) > 220 && B(c) > 220; }
bool IsGold(uint32_t c) { return R(c) > 150 && R(c) > B(c) + 60 && G(c) > B(c); }
bool IsCaptionGold(uint32_t c) { return R(c) > 230 && G(c) > 190 && B(c) < 130; }
bool IsGreen(uint32_t c) { return G(c) > 120 && G(c) > R(c) + 40 && G(c) > B(c) + 40; }

class AllControlsRenderTest : public Gui2Test {
protected:
    // The dialog in the given language, driven for a few frames, read back,
    // written to `png` and checked.
    void RenderAll(int language, const std::string& png);
    void SavePng(const std::vector<uint32_t>& px, const std::string& name) {
        test_shots::SaveFramePng(px, 800, 600, test_shots::ShotsDir("gui") / name);
    }
    int Count(const std::vector<uint32_t>& px, int l, int t, int r, int b, bool (*pred)(uint32_t)) const {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += pred(At(px, x, y));
        return n;
    }
};

void AllControlsRenderTest::RenderAll(int language, const std::string& png) {
    CFontKeeper::Instance().SelectLanguage(language);
    CBaseDialog d;
    ASSERT_TRUE(d.Load(Node(kDialog, "/Dialog")));
    ASSERT_EQ(d.GetControlCount(), 15u);
    auto* track = dynamic_cast<CMenuTrackBar*>(d.FindControl("DIFF"));
    ASSERT_NE(track, nullptr);
    track->SetMin(0);
    track->SetMax(2);
    track->SetPosition(1);
    auto* list = dynamic_cast<CMenuListBox*>(d.FindControl("LB"));
    ASSERT_NE(list, nullptr);
    for (const char* item : {"Opt_Sound", "Opt_Music", "Opt_Gamma", "Opt_Difficulty", "Opt_Language",
                             "Opt_Fullscreen", "Opt_Hints", "Opt_Sound", "Opt_Music"})
        list->AddItem(item);
    list->SetItemFlag(2, 1);
    list->SelectAndScroll(1);
    auto* edit = dynamic_cast<CMenuEdit*>(d.FindControl("NAME"));
    ASSERT_NE(edit, nullptr);
    edit->SetActive(true);
    auto* check = dynamic_cast<CMenuCheckBox*>(d.FindControl("FS"));
    ASSERT_NE(check, nullptr);
    check->SetChecked(true);
    auto* pages = dynamic_cast<CMenuPageControl*>(d.FindControl("PC"));
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->GetPageCount(), 2u);

    const auto draw = [&] { d.Draw(false); };
    // A name typed into the edit box, one key a frame.
    for (int vk : {int('C'), int('A'), int('B')}) {
        Key(vk, true);
        Frame(draw, kBackground);
        Key(vk, false);
        Frame(draw, kBackground);
    }
    EXPECT_EQ(edit->GetText(), "CAB");
    // The pointer resting on the OK button until its caption has faded to gold.
    window()->InjectMouseMove(120, 124);
    for (int i = 0; i < 24; ++i) Frame(draw, kBackground);
    const auto px = ReadBack();
    SavePng(px, png);
    window()->InjectMouseMove(0, 0);
    Frame();

    // The OK caption has turned gold, the other captions are white.
    EXPECT_GT(Count(px, 70, 108, 170, 140, IsCaptionGold), 60);
    EXPECT_EQ(Count(px, 70, 108, 170, 140, IsWhite), 0);
    EXPECT_GT(Count(px, 210, 108, 350, 140, IsWhite), 60);
    // The check mark, the fill of both bars, the list's selection.
    EXPECT_GT(Count(px, 60, 170, 88, 198, IsGreen), 60);
    EXPECT_EQ(Count(px, 60, 210, 88, 238, IsGreen), 0);
    EXPECT_GT(Count(px, 70, 332, 170, 344, IsGold), 200);
    EXPECT_EQ(Count(px, 190, 332, 268, 344, IsGold), 0);
    EXPECT_GT(Count(px, 70, 368, 180, 380, IsWhite), 200);

    for (uint32_t i = 0; i < pages->GetPageCount(); ++i) {
        const CMenuButton& b = *pages->GetPageAt(i).button;
        const int l = static_cast<int>(b.GetX()), t = static_cast<int>(b.GetY());
        const int r = l + static_cast<int>(b.GetWidth()), bottom = t + static_cast<int>(b.GetHeight());
        // The rim runs unbroken along the top edge between the corners.
        for (int x = l + 8; x < r - 8; ++x) EXPECT_TRUE(IsGold(At(px, x, t + 2))) << "page button " << i << " x " << x;
        // The caption lies on the glass: white text inside the rim and none
        // spilling past the button into the 20 pixels around it.
        const int inside = Count(px, l + 4, t + 3, r - 4, bottom - 3, IsWhite);
        EXPECT_GT(inside, 60) << "page button " << i;
        EXPECT_EQ(Count(px, l - 18, t - 20, r + 18, bottom + 20, IsWhite), inside) << "page button " << i;
    }
}

TEST_F(AllControlsRenderTest, EveryControlKindDrawsInsideItsOwnPlace) {
    // Both languages: the longer German captions must fit as well.
    struct Restore {
        ~Restore() { CFontKeeper::Instance().SelectLanguage(0); }
    } restore;
    RenderAll(0, "gui_all_controls.png");
    RenderAll(1, "gui_all_controls_german.png");
}

}  // namespace
