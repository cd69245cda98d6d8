// Every front-end dialog of the shipped Settings\Dialogs.xml and the shipped
// splash screens drawn through the real render device: on the read-back frame
// each panel shows its gold rim, each button its rim and caption, each bar and
// box its skin, each label its text; the splashes fade over their background
// colours. Screenshots go to the pictures' folder "menu" (in the test's
// temporary folder, or under VOVARO_SHOTS_DIR to keep them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "frontend/add_user_dialog.h"
#include "frontend/confirmation_dialog.h"
#include "frontend/game_complete_dialog.h"
#include "frontend/load_suspended_dialog.h"
#include "frontend/main_dialog.h"
#include "frontend/options_dialog.h"
#include "frontend/profile_delete_confirmation_dialog.h"
#include "frontend/profile_dialog.h"
#include "frontend/selection_dialog.h"
#include "frontend/splash_screens.h"
#include "gui/menu_button.h"
#include "gui/menu_check_box.h"
#include "gui/menu_label.h"
#include "gui/menu_list_box.h"
#include "gui/menu_panel.h"
#include "gui/menu_track_bar.h"
#include "scene_test_support.h"

using namespace menu_test;

namespace {

constexpr uint32_t kBackground = 0xFF283040;

int R(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int G(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(uint32_t c) { return static_cast<int>(c & 0xFF); }
bool IsGold(uint32_t c) { return R(c) > 150 && R(c) > B(c) + 60 && G(c) > B(c); }
bool IsGrey(uint32_t c) { return R(c) > 90 && std::abs(R(c) - G(c)) < 12 && std::abs(G(c) - B(c)) < 12; }
bool IsText(uint32_t c) { return (R(c) > 215 && G(c) > 215 && B(c) > 215) || (R(c) > 220 && G(c) > 180 && B(c) < 140); }

class MenuDialogsRenderTest : public MenuTest {
protected:
    int Count(const std::vector<uint32_t>& px, int l, int t, int r, int b, bool (*pred)(uint32_t)) const {
        int n = 0;
        for (int y = std::max(t, 0); y < std::min(b, 600); ++y)
            for (int x = std::max(l, 0); x < std::min(r, 800); ++x) n += pred(At(px, x, y));
        return n;
    }
    // The dialog drawn until its panel has unfolded, then read back and saved.
    std::vector<uint32_t> Show(CBaseDialog& d, const std::string& shot) {
        for (int i = 0; i < 8; ++i) Frame([&] { d.Draw(false); }, kBackground);
        auto px = ReadBack();
        SavePng(px, shot);
        return px;
    }
    // Each kind of control where the dialog file puts it.
    void ExpectControlsDrawn(const CBaseDialog& d, const std::vector<uint32_t>& px) {
        for (size_t i = 0; i < d.GetControlCount(); ++i) {
            const CBaseControl* c = d.GetControl(i);
            if (!c->IsVisible()) continue;
            SCOPED_TRACE(c->GetId());
            const int l = static_cast<int>(c->GetX()), t = static_cast<int>(c->GetY());
            const int r = l + static_cast<int>(c->GetWidth()), b = t + static_cast<int>(c->GetHeight());
            if (dynamic_cast<const CMenuPanel*>(c)) {
                EXPECT_TRUE(IsGold(At(px, l + 3, (t + b) / 2))) << std::hex << At(px, l + 3, (t + b) / 2);
                EXPECT_TRUE(IsGold(At(px, r - 4, (t + b) / 2))) << std::hex << At(px, r - 4, (t + b) / 2);
                EXPECT_EQ(At(px, l - 2, (t + b) / 2), kBackground);
            } else if (dynamic_cast<const CMenuButton*>(c)) {
                EXPECT_TRUE(IsGold(At(px, l + 2, (t + b) / 2))) << std::hex << At(px, l + 2, (t + b) / 2);
                // A caption (white or gold under the pointer) or a gold glyph
                // inside the rim; grey when the button is disabled.
                const int inside = Count(px, l + 6, t + 6, r - 6, b - 6, IsText) +
                                   Count(px, l + 6, t + 6, r - 6, b - 6, c->IsEnabled() ? IsGold : IsGrey);
                EXPECT_GT(inside, 40);
            } else if (dynamic_cast<const CMenuTrackBar*>(c) || dynamic_cast<const CMenuCheckBox*>(c)) {
                EXPECT_GT(Count(px, l, t, r, b, IsGold), 40);
            } else if (auto* label = dynamic_cast<const CMenuLabel*>(c)) {
                if (label->GetCaption().empty()) continue;
                // Labels print from their point: centred ones about it, others to its right.
                EXPECT_GT(Count(px, l - 200, t - 30, l + 260, t + 34, IsText), 40);
            }
        }
    }
};

TEST_F(MenuDialogsRenderTest, MainOptionsAndProfilePanels) {
    ASSERT_TRUE(store.AddPlayer("ANN"));
    ASSERT_TRUE(store.AddPlayer("BORIS"));
    {
        CMainDialog d(&store);
        d.Load(DialogNode("MainDialog"));
        d.Activate();
        const auto px = Show(d, "main_dialog.png");
        ExpectControlsDrawn(d, px);
        // The title art above the panel.
        EXPECT_GT(Count(px, 144, 24, 656, 248, IsGold), 2000);
    }
    {
        COptionsDialog d;
        d.Load(DialogNode("OptionsDialog"));
        d.Activate();
        ExpectControlsDrawn(d, Show(d, "options_dialog.png"));
        Control<CMenuTrackBar>(d, "ID_LANG")->SetPosition(1);
        ExpectControlsDrawn(d, Show(d, "options_dialog_german.png"));
    }
    {
        CProfileDialog d(&store);
        d.Load(DialogNode("ProfileDialog"));
        d.Activate();
        const auto px = Show(d, "profile_dialog.png");
        ExpectControlsDrawn(d, px);
        // Two rows of names, the second one selected.
        const CBaseControl* list = d.FindControl("ID_PROF_LIST");
        const int l = static_cast<int>(list->GetX()), t = static_cast<int>(list->GetY());
        EXPECT_GT(Count(px, l + 30, t, l + 300, t + 30, IsText), 60);
        EXPECT_GT(Count(px, l + 30, t + 30, l + 300, t + 60, IsText), 60);
        EXPECT_EQ(Count(px, l + 30, t + 62, l + 300, t + 90, IsText), 0);
    }
}

// In both languages: the German texts are the longer ones.
TEST_F(MenuDialogsRenderTest, SmallPanelsAndTheGameCompletePanel) {
    for (const int language : {0, 1}) {
        SelectLanguage(language);
        const std::string suffix = language ? "_german.png" : ".png";
        const auto shoot = [&](CBaseDialog& d, const std::string& node, const std::string& shot,
                               const std::function<void()>& show) {
            SCOPED_TRACE(node + suffix);
            d.Load(DialogNode(node));
            show();
            ExpectControlsDrawn(d, Show(d, shot + suffix));
        };
        CAddUserDialog add(&store), first(&store);
        shoot(add, "AddUserDialog", "add_user_dialog", [&] { add.Activate(); });
        shoot(first, "StartAddUserDialog", "start_add_user_dialog", [&] { first.Activate(); });
        CLoadSuspendedDialog resume;
        shoot(resume, "LoadSuspendedDialog", "load_suspended_dialog", [&] { resume.Setup(1, 4, 2500, 3, false); });
        CConfirmationDialog new_game;
        shoot(new_game, "NewGameConfirmation", "new_game_confirmation", [&] { new_game.Activate(); });
        CProfileDeleteConfirmationDialog remove;
        shoot(remove, "ProfileDeleteConfirmationDialog", "delete_confirmation", [&] { remove.Activate(); });
        CGameCompleteDialog complete;
        shoot(complete, "GameCompleteDialog", "game_complete_dialog", [&] { complete.Activate(); });
        complete.SetPage(1);
        ExpectControlsDrawn(complete, Show(complete, "game_complete_dialog_page2" + suffix));
    }
}

// The selector's panel in both languages: the unlocked episodes' buttons with
// their pictures, the arrow at the selected one, and the best scores printed
// in their columns.
TEST_F(MenuDialogsRenderTest, SelectorPanel) {
    ASSERT_TRUE(store.AddPlayer("ANN"));
    for (int e = 0; e < 3; ++e) store.UpdateEpisodeAvailability(0, e, 1);
    store.AddHiscore(0, 98765);
    scene_test::FakeTrophyRoom room;
    for (const int language : {0, 1}) {
        SelectLanguage(language);
        CSelectionDialog d(room, &store);
        d.Load(DialogNode("ArcadeDialog"));
        d.Refresh(true);
        const auto px = Show(d, language ? "selector_panel_german.png" : "selector_panel.png");
        ExpectControlsDrawn(d, px);
        // The arrow at the third episode, none at the first.
        const CBaseControl* arrow = d.FindControl("ID_MIS_ARROW_2");
        const int ax = static_cast<int>(arrow->GetX()), ay = static_cast<int>(arrow->GetY());
        EXPECT_GT(Count(px, ax, ay, ax + 44, ay + 48, IsGold), 200);
        const CBaseControl* none = d.FindControl("ID_MIS_ARROW_0");
        EXPECT_EQ(Count(px, static_cast<int>(none->GetX()), static_cast<int>(none->GetY()),
                        static_cast<int>(none->GetX()) + 44, static_cast<int>(none->GetY()) + 48, IsGold),
                  0);
        // The first row of scores: the number, the name and the score.
        const int y = d.GetFirstRowY();
        for (const char* column : {"ID_NUM", "ID_PLAYER", "ID_SCORE"}) {
            const int x = static_cast<int>(d.FindControl(column)->GetX());
            EXPECT_GT(Count(px, x, y, x + 40, y + d.GetRowHeight(), IsText), 20) << column;
        }
    }
    SelectLanguage(0);
}

// The shipped sequence on a fake clock: the studio card on black, then the
// title over its own colour, each at full alpha, and half faded in between.
TEST_F(MenuDialogsRenderTest, ShippedSplashScreens) {
    uint32_t now = 0;
    CSplashScreens s([&] { return now; });
    ASSERT_TRUE(s.IsActive());
    ASSERT_EQ(s.GetDescriptions().size(), 2u);
    const auto step = [&] { Frame([&] { s.Update(); }, s.GetBackColor()); };
    while (s.GetAlpha() < 128) step();
    auto px = ReadBack();
    const int half_gold = Count(px, 144, 172, 656, 428, IsGold);
    while (!s.IsHolding()) step();
    px = ReadBack();
    SavePng(px, "splash_studio.png");
    EXPECT_EQ(At(px, 5, 5), 0xFF000000u);
    EXPECT_GT(Count(px, 144, 172, 656, 428, IsGold), 1000);  // the ring and the name
    EXPECT_LT(half_gold, Count(px, 144, 172, 656, 428, IsGold) / 2);

    now += 100000;
    while (s.GetCurrent() == 0) step();
    EXPECT_EQ(s.GetBackColor(), 0xFF0B1633u);
    while (!s.IsHolding()) step();
    px = ReadBack();
    SavePng(px, "splash_title.png");
    EXPECT_GT(Count(px, 144, 230, 656, 340, IsGold), 4000);  // the title's letters
    now += 100000;
    while (s.IsActive()) step();
}

}  // namespace
