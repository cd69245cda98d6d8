// What the game scene's frame shows where its layers meet: the level-start
// banner beneath the dialogs, and the heads-up panel beneath a dialog that
// has the pointer. Read back from whole frames of the scene.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/hint_dialog.h"
#include "game/hints_manager.h"
#include "game_scene_test_support.h"
#include "platform/virtual_keys.h"

namespace game_test {
namespace {

struct Rect {
    int l, t, r, b;
};

class GameSceneLayersTest : public GameSceneTest {
protected:
    // Episode 0, level 0, the opening fade over and the banner showing.
    void StartWithBanner() {
        Start(0, 0);
        ASSERT_TRUE(StepUntil([&] { return !game->ScreenFade().IsActive(); }));
        ASSERT_TRUE(game->LevelStartMessage().IsShown());
    }
    void Steps(int frames) {
        for (int i = 0; i < frames; ++i) Step();
    }
    // Inside a control's rim, clear of its rounded corners.
    static Rect Inside(const CBaseControl& c) {
        const int l = static_cast<int>(c.GetX()), t = static_cast<int>(c.GetY());
        return {l + 24, t + 24, l + static_cast<int>(c.GetWidth()) - 24, t + static_cast<int>(c.GetHeight()) - 24};
    }
    static Rect Bounds(const CBaseControl& c) {
        const int l = static_cast<int>(c.GetX()), t = static_cast<int>(c.GetY());
        return {l, t, l + static_cast<int>(c.GetWidth()), t + static_cast<int>(c.GetHeight())};
    }
    int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, const Rect& r) const {
        int n = 0;
        for (int y = r.t; y < r.b; ++y)
            for (int x = r.l; x < r.r; ++x) n += At(a, x, y) != At(b, x, y);
        return n;
    }
};

// The banner of a new level is still fading when the pause or a hint opens
// (at once after a resume): the dialog is drawn over it, not under it.
TEST_F(GameSceneLayersTest, TheLevelBannerStaysUnderTheDialogs) {
    struct Case {
        const char* name;
        std::function<void()> open;
        std::function<const CBaseControl*()> frame;
    };
    const Case cases[] = {
        {"pause", [&] { game->OnKeyDown(plat::VK_ESCAPE); },
         [&] { return game->PauseDialog().FindControl("ID_FRAME"); }},
        {"hint",
         [&] {
             std::vector<int32_t> unseen;
             CHintsManager::Instance().CollectUnshownHints(0, unseen);
             ASSERT_FALSE(unseen.empty());
             game->PendingHints() = {unseen.front()};
             // The hint's box stands over the banner's place.
             field->hint_point = CVector2(540, 420);
             field->hint_placeable = true;
         },
         [&]() -> const CBaseControl* {
             CHintsManager& hints = CHintsManager::Instance();
             if (!hints.IsHintActive()) return nullptr;
             return hints.GetDialog(static_cast<size_t>(hints.GetActiveIndex()))->FindControl("ID_FRAME");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithBanner();
        c.open();
        // Slid in and unfolded.
        Steps(12);
        ASSERT_TRUE(game->LevelStartMessage().IsShown());
        const CBaseControl* frame = c.frame();
        ASSERT_NE(frame, nullptr);
        const auto with_banner = Shown();
        Screenshot(with_banner, std::string("banner_under_") + c.name);
        game->LevelStartMessage().Hide();
        Step();
        EXPECT_EQ(Differing(with_banner, Shown(), Inside(*frame)), 0);
        field->hint_placeable = false;
    }
}

// The panel's menu button lights up under the pointer in play and under the
// pause it toggles, but not under the help: the pointer belongs to the help,
// and a light the button had when the help opened goes out.
TEST_F(GameSceneLayersTest, ThePanelBeneathADialogTakesNoHover) {
    Start(0, 0);
    const CBaseControl* menu = game->Panels().FindControl("ID_MENU");
    ASSERT_NE(menu, nullptr);
    const Rect button = Bounds(*menu);
    // The button's picture after the pointer rested on it (or away from it,
    // below the dialogs) long enough for its light to settle.
    const auto picture = [&](bool over) {
        MoveTo(over ? (button.l + button.r) / 2 : 600, over ? (button.t + button.b) / 2 : 590);
        Steps(30);
        return Shown();
    };
    const auto unlit = picture(false);
    EXPECT_GT(Differing(picture(true), unlit, button), 0) << "in play";

    game->OnKeyDown(plat::VK_F1);
    ASSERT_EQ(game->GetState(), gsHelp);
    const CBaseControl* help = game->HelpDialog().FindControl("ID_FRAME");
    ASSERT_NE(help, nullptr);
    // The part of the button below the help's frame.
    const Rect below {button.l, static_cast<int>(help->GetY() + help->GetHeight()) + 4, button.r, button.b};
    ASSERT_LT(below.t, below.b);
    const auto under_help = picture(true);
    Screenshot(under_help, "menu_under_help");
    EXPECT_EQ(Differing(under_help, unlit, below), 0) << "under the help";

    game->HelpDialog().SetResult(CHelpDialog::kBack);
    Steps(12);
    game->OnKeyDown(plat::VK_ESCAPE);
    ASSERT_EQ(game->GetState(), gsPause);
    EXPECT_GT(Differing(picture(true), unlit, button), 0) << "under the pause";
}

}  // namespace
}  // namespace game_test
