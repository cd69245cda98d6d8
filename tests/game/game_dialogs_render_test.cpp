// Every dialog of the game scene drawn from the shipped data through the real
// render device, in both languages: each control is found on the read-back
// frame where the dialog file puts it (panels by their gold rim, buttons by
// their rim and caption, labels by their text, images and track bars by
// their art). The frames are also written as screenshots for a look by eye.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/dying_dialog.h"
#include "game/episode_dialog.h"
#include "game/help_dialog.h"
#include "game/hint_dialog.h"
#include "game/hints_manager.h"
#include "game/leave_game_dialog.h"
#include "game/pause_dialog.h"
#include "game/statistics_dialog.h"
#include "game/time_out_dialog.h"
#include "graphics/font_keeper.h"
#include "gui/menu_button.h"
#include "gui/menu_image.h"
#include "gui/menu_label.h"
#include "gui/menu_page_control.h"
#include "gui/menu_panel.h"
#include "gui/menu_track_bar.h"
#include "profiles/user_profiles.h"
#include "dialog_test_support.h"

using namespace game_test;

namespace {

// Text of any of the labels' colours (white, gold, red, green, grey): far
// lighter in red or green than the dark blue glass under it.
bool IsText(uint32_t c) { return R(c) > 130 || G(c) > 150; }
// Art on the dark blue glass of a panel: anything but glass.
bool IsArt(uint32_t c) { return !(B(c) > R(c) + 20 && R(c) < 100 && G(c) < 120); }

class GameDialogsRenderTest : public DialogTest {
protected:
    void TearDown() override {
        CFontKeeper::Instance().SelectLanguage(0);
        DialogTest::TearDown();
    }

    // Draws `frames` frames of the dialog with its input, the pointer away in a corner.
    void DrawFrames(CBaseDialog& d, int frames) {
        for (int i = 0; i < frames; ++i) Frame([&] { d.Draw(false); });
    }

    // Finds every visible control of the dialog (and of a page control's
    // current page) on the frame.
    void ExpectControlsShown(const CBaseDialog& d, const std::vector<uint32_t>& px) {
        for (size_t i = 0; i < d.GetControlCount(); ++i) {
            const CBaseControl& c = *d.GetControl(i);
            if (!c.IsVisible()) continue;
            SCOPED_TRACE(c.GetId());
            ExpectControlShown(c, px);
            if (const auto* pages = dynamic_cast<const CMenuPageControl*>(&c)) {
                ExpectControlsShown(*pages->GetPageAt(pages->GetPage()).dialog, px);
                for (uint32_t p = 0; p < pages->GetPageCount(); ++p)
                    if (pages->GetPageAt(p).button) ExpectControlShown(*pages->GetPageAt(p).button, px);
            }
        }
    }

    void ExpectControlShown(const CBaseControl& c, const std::vector<uint32_t>& px) {
        const int l = static_cast<int>(c.GetX()), t = static_cast<int>(c.GetY());
        const int r = l + static_cast<int>(c.GetWidth()), b = t + static_cast<int>(c.GetHeight());
        ASSERT_TRUE(l >= 0 && t >= 0 && r <= 800 && b <= 600) << "off screen";
        if (dynamic_cast<const CMenuPanel*>(&c) || dynamic_cast<const CMenuButton*>(&c)) {
            // The gold rim runs along all four sides (looked at a quarter of
            // the way along, clear of a hint's pointer).
            const int mx = l + (r - l) / 4, my = t + (b - t) / 4;
            EXPECT_GT(Count(px, mx - 4, t, mx + 4, t + 5, IsGold), 0) << "top rim";
            EXPECT_GT(Count(px, mx - 4, b - 5, mx + 4, b, IsGold), 0) << "bottom rim";
            EXPECT_GT(Count(px, l, my - 2, l + 5, my + 2, IsGold), 0) << "left rim";
            EXPECT_GT(Count(px, r - 5, my - 2, r, my + 2, IsGold), 0) << "right rim";
            const auto* button = dynamic_cast<const CMenuButton*>(&c);
            if (button && button->HasCaption()) {
                EXPECT_GT(Count(px, l + 6, t + 6, r - 6, b - 6, IsWhite), 40) << "caption";
            }
            // The glyph: gold, or grey while the button is disabled.
            if (button && button->HasGlyph()) {
                EXPECT_GT(Count(px, l + 14, t + 10, r - 14, b - 10, IsArt), 40) << "glyph";
            }
        } else if (const auto* label = dynamic_cast<const CMenuLabel*>(&c)) {
            const LabelDesc desc = CFontKeeper::Instance().GetLabel(label->GetCaption());
            const int h = static_cast<int>(desc.style.height);
            // Centred labels stand about their point, the others right of and below it.
            const int left = desc.alignment == 2 ? l - 30 : l, top = desc.alignment == 2 ? t - h / 2 : t;
            EXPECT_GT(Count(px, left, top, left + 60, top + h, IsText), 20) << label->GetCaption();
        } else if (dynamic_cast<const CMenuImage*>(&c) || dynamic_cast<const CMenuTrackBar*>(&c)) {
            EXPECT_GT(Count(px, l, t, r, b, IsArt), (r - l) * (b - t) / 10) << "art";
        }
    }

    // Draws, checks and writes the frame of a dialog in both languages.
    void Check(const std::string& name, const std::function<std::unique_ptr<CBaseDialog>()>& make,
               const std::function<void(CBaseDialog&)>& show, int frames = 3) {
        for (int language : {0, 1}) {
            SCOPED_TRACE(name + (language ? " German" : " English"));
            CFontKeeper::Instance().SelectLanguage(language);
            std::unique_ptr<CBaseDialog> d = make();
            show(*d);
            DrawFrames(*d, frames);
            const auto px = Shown();
            Screenshot(px, name + (language ? "_de" : "_en"));
            ExpectControlsShown(*d, px);
        }
    }

    template <typename T>
    static std::function<std::unique_ptr<CBaseDialog>()> Loaded(const std::string& node) {
        return [node] {
            auto d = std::make_unique<T>();
            EXPECT_TRUE(d->Load(DialogNode(node)));
            return d;
        };
    }
    static void Activate(CBaseDialog& d) { d.Activate(); }
};

TEST_F(GameDialogsRenderTest, PauseLeaveAndGameOver) {
    Check("pause", Loaded<CPauseDialog>("PauseDialog"), Activate);
    Check("leave_game", Loaded<CLeaveGameDialog>("LeaveGameDialog"), Activate);
    Check("game_over", Loaded<CTimeOutDialog>("GameOverDialog"),
          [](CBaseDialog& d) { static_cast<CTimeOutDialog&>(d).Show(7000); });
}

TEST_F(GameDialogsRenderTest, StatisticsWithEveryLineCounted) {
    LevelStatistics s;
    s.score = 12340;
    s.time = 95000;
    s.ace_time = 120000;
    s.time_bonus = 2200;
    s.best_time = 3725000;
    s.best_player = "Annabelle";
    const auto show = [s](CBaseDialog& d) { static_cast<CStatisticsDialog&>(d).Show(s); };
    Check("statistics", Loaded<CStatisticsDialog>("StatisticsDialog"), show, 260);
    s.time_bonus = 0;
    const auto show_no_bonus = [s](CBaseDialog& d) { static_cast<CStatisticsDialog&>(d).Show(s); };
    Check("statistics_no_bonus", Loaded<CStatisticsDialog>("StatisticsDialog"), show_no_bonus, 260);
}

TEST_F(GameDialogsRenderTest, EpisodeStartEpisodeCompleteAndLifeLost) {
    Check("episode_start", Loaded<CEpisodeDialog>("StartEpisodeDialog"),
          [](CBaseDialog& d) { static_cast<CEpisodeDialog&>(d).Show(0, ""); }, 20);
    Check("episode_complete", Loaded<CEpisodeDialog>("EpisodeCompleteDialog"),
          [](CBaseDialog& d) { static_cast<CEpisodeDialog&>(d).Show(3, "episode_complete"); }, 20);
    // Every bird landed and the banner grown to its height.
    Check("life_lost", Loaded<CDyingDialog>("DyingDialog"),
          [](CBaseDialog& d) { static_cast<CDyingDialog&>(d).Show(5000, 2); }, 120);
    Check("life_lost_last", Loaded<CDyingDialog>("DyingDialog"),
          [](CBaseDialog& d) { static_cast<CDyingDialog&>(d).Show(5000, 1); }, 120);
}

TEST_F(GameDialogsRenderTest, EveryHelpAndCreditsPage) {
    for (const char* node : {"HelpDialog", "CreditsDialog"}) {
        const uint32_t count = [&] {
            CHelpDialog d;
            d.Load(DialogNode(node));
            return d.GetPageControl()->GetPageCount();
        }();
        for (uint32_t page = 0; page < count; ++page) {
            const auto turn = [page](CBaseDialog& d) {
                auto& help = static_cast<CHelpDialog&>(d);
                help.Activate();
                for (uint32_t i = 0; i < page; ++i) help.OnClick(help.FindControl("ID_FORWARD"));
            };
            Check(std::string(node) + "_page" + std::to_string(page), Loaded<CHelpDialog>(node), turn);
        }
    }
}

// A dialog shown over another one hides it: inside the upper panel's frame the
// picture is the same with and without the lower dialog beneath.
TEST_F(GameDialogsRenderTest, ADialogOverAnotherHidesIt) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CBaseDialog>()> lower, upper;
    };
    const Case cases[] = {
        {"help_over_pause", Loaded<CPauseDialog>("PauseDialog"), Loaded<CHelpDialog>("HelpDialog")},
        {"credits_over_pause", Loaded<CPauseDialog>("PauseDialog"), Loaded<CHelpDialog>("CreditsDialog")},
        {"leave_over_pause", Loaded<CPauseDialog>("PauseDialog"), Loaded<CLeaveGameDialog>("LeaveGameDialog")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CBaseDialog> lower = c.lower(), upper = c.upper();
        lower->Activate();
        upper->Activate();
        for (int i = 0; i < 3; ++i) Frame([&] {
                lower->Draw(true);
                upper->Draw(false);
            });
        const auto stacked = Shown();
        Screenshot(stacked, c.name);
        DrawFrames(*upper, 3);
        const auto alone = Shown();
        const CBaseControl* frame = upper->FindControl("ID_FRAME");
        ASSERT_NE(frame, nullptr);
        // Within the rim, clear of its rounded corners.
        const int l = static_cast<int>(frame->GetX()) + 24, t = static_cast<int>(frame->GetY()) + 24;
        const int r = static_cast<int>(frame->GetX() + frame->GetWidth()) - 24;
        const int b = static_cast<int>(frame->GetY() + frame->GetHeight()) - 24;
        int differing = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) differing += At(stacked, x, y) != At(alone, x, y);
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(GameDialogsRenderTest, HintBubblePointsAtItsTarget) {
    CUserProfiles store;
    for (int language : {0, 1}) {
        CFontKeeper::Instance().SelectLanguage(language);
        CHintsManager hints(store, std::string(VOVARO_DATA_DIR) + "/Settings/Hints.xml");
        for (const auto& [id, x, y] : {std::tuple {3, 540, 420}, std::tuple {201, 130, 400}}) {
            SCOPED_TRACE(id);
            ASSERT_TRUE(hints.ShowHint(0, id, static_cast<float>(x), static_cast<float>(y)));
            Frame([&] { hints.Render(); });
            const auto px = Shown();
            Screenshot(px, "hint_" + std::to_string(id) + (language ? "_de" : "_en"));
            // The pointer's tip sits on the target: gold just above it, nothing below.
            EXPECT_GT(Count(px, x - 3, y - 6, x + 3, y, IsGold), 0);
            EXPECT_EQ(Count(px, x - 3, y + 2, x + 3, y + 8, IsDrawn), 0);
            const CHintDialog& dialog = *hints.GetDialog(static_cast<size_t>(hints.GetActiveIndex()));
            ExpectControlsShown(dialog, px);
        }
    }
}

}  // namespace
