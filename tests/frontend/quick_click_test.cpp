// Clicks as touchpads, remote sessions and quick hands send them, pushed into
// the real window's event queue as SDL delivers them and played against the
// shipped dialogs: the pointer's move, the press and the release of a click
// all arriving between two frames take effect, as do two clicks in one frame
// and a press held over several frames.
#include <SDL.h>
#include <gtest/gtest.h>

#include "engine/game_clock.h"
#include "frontend/main_dialog.h"
#include "frontend/options_dialog.h"
#include "frontend/profile_dialog.h"
#include "gui/menu_check_box.h"
#include "gui/menu_list_box.h"
#include "gui/menu_track_bar.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

class QuickClickTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        // The pointer rests in a corner, away from every control.
        MoveTo(2, 2);
        Frame();
        Frame();
        pointer_x_ = 2;
        pointer_y_ = 2;
    }

    void PushMotion(int x, int y) {
        SDL_Event e {};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        e.motion.xrel = x - pointer_x_;
        e.motion.yrel = y - pointer_y_;
        SDL_PushEvent(&e);
        pointer_x_ = x;
        pointer_y_ = y;
    }
    void PushButton(bool down) {
        SDL_Event e {};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = pointer_x_;
        e.button.y = pointer_y_;
        SDL_PushEvent(&e);
    }
    // The pointer jumps onto the point and clicks there, all before the next frame.
    void PushJumpAndClick(int x, int y) {
        PushMotion(x, y);
        PushButton(true);
        PushButton(false);
    }
    // One frame drawing the dialog, with the queue's events taken in first and
    // the game clock one frame on, as the main loop does.
    static void DialogFrame(CBaseDialog& d) {
        GameClock().Advance(kFrameMs);
        Drain();
        Frame([&] { d.Draw(false); });
    }
    static std::pair<int, int> Centre(const CBaseControl& c) {
        return {static_cast<int>(c.GetX() + c.GetWidth() / 2), static_cast<int>(c.GetY() + c.GetHeight() / 2)};
    }

    static constexpr uint32_t kFrameMs = 16;
    int pointer_x_ = 0, pointer_y_ = 0;
};

TEST_F(QuickClickTest, AClickWithinOneFrameTakesEffectOnButtonsArrowsAndCheckBoxes) {
    {
        SCOPED_TRACE("the main panel's Play");
        CMainDialog d(&store);
        d.Load(DialogNode("MainDialog"));
        d.Activate();
        DialogFrame(d);
        const auto [x, y] = Centre(*d.FindControl("ID_ARCADE"));
        PushJumpAndClick(x, y);
        DialogFrame(d);
        EXPECT_EQ(d.GetCommand(), CMainDialog::kArcade);
    }
    {
        SCOPED_TRACE("the options' arrows step once per click, the box ticks once");
        COptionsDialog d;
        d.Load(DialogNode("OptionsDialog"));
        ASSERT_TRUE(d.IsLoaded());
        d.Activate();
        DialogFrame(d);
        auto* lang = Control<CMenuTrackBar>(d, "ID_LANG");
        ASSERT_GT(lang->GetMax(), lang->GetPosition());
        const int language = lang->GetPosition();
        const auto [lx, ly] = Centre(*lang->GetRightArrow());
        PushJumpAndClick(lx, ly);
        DialogFrame(d);
        DialogFrame(d);
        EXPECT_EQ(lang->GetPosition(), language + lang->GetStep());
        EXPECT_EQ(CFontKeeper::Instance().GetSelectedLanguage(), language + lang->GetStep());

        auto* sound = Control<CMenuTrackBar>(d, "ID_SOUND");
        const int volume = sound->GetPosition();
        const auto [sx, sy] = Centre(*sound->GetLeftArrow());
        for (int i = 0; i < 3; ++i) {
            PushJumpAndClick(sx, sy);
            DialogFrame(d);
            PushMotion(2, 2);
            DialogFrame(d);
        }
        EXPECT_EQ(sound->GetPosition(), volume - 3 * sound->GetStep());

        auto* box = Control<CMenuCheckBox>(d, "ID_WINDOWED");
        const bool checked = box->IsChecked();
        const auto [bx, by] = Centre(*box);
        PushJumpAndClick(bx, by);
        DialogFrame(d);
        DialogFrame(d);
        EXPECT_EQ(box->IsChecked(), !checked);
    }
}

TEST_F(QuickClickTest, ADialogsOkAndADoubleClickWithinOneFrame) {
    for (const char* name : {"ANN", "BO", "CID"}) ASSERT_TRUE(store.AddPlayer(name));
    store.SetActivePlayer(0);
    CProfileDialog d(&store);
    d.Load(DialogNode("ProfileDialog"));
    auto* list = Control<CMenuListBox>(d, "ID_PROF_LIST");
    ASSERT_NE(list, nullptr);
    const int row_x = static_cast<int>(list->GetX() + list->GetWidth() / 2);
    const auto row_y = [&](int row) { return static_cast<int>(list->GetY()) + list->GetItemHeight() * row + 5; };

    // Two clicks on the second row between two frames: selected and chosen.
    d.Activate();
    DialogFrame(d);
    PushJumpAndClick(row_x, row_y(1));
    PushButton(true);
    PushButton(false);
    DialogFrame(d);
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultChosen);
    EXPECT_EQ(store.GetActivePlayer(), 1u);

    // One click on the third row, then the OK button, each within its frame
    // and long after the double click.
    d.Activate();
    PushMotion(2, 2);
    DialogFrame(d);
    GameClock().Advance(1000);
    PushJumpAndClick(row_x, row_y(2));
    DialogFrame(d);
    EXPECT_EQ(list->GetSelected(), 2u);
    EXPECT_EQ(d.GetResult(), 0) << "a single click only selects";
    const auto [ox, oy] = Centre(*d.FindControl("ID_OK"));
    PushJumpAndClick(ox, oy);
    DialogFrame(d);
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultChosen);
    EXPECT_EQ(store.GetActivePlayer(), 2u);
}

TEST_F(QuickClickTest, APressHeldOverFramesClicksOnItsRelease) {
    CMainDialog d(&store);
    d.Load(DialogNode("MainDialog"));
    d.Activate();
    DialogFrame(d);
    const auto [x, y] = Centre(*d.FindControl("ID_OPTIONS"));
    PushMotion(x, y);
    PushButton(true);
    for (int i = 0; i < 3; ++i) {
        DialogFrame(d);
        EXPECT_EQ(d.GetCommand(), CMainDialog::kNone) << "frame " << i;
    }
    PushButton(false);
    DialogFrame(d);
    EXPECT_EQ(d.GetCommand(), CMainDialog::kOptions);
}

}  // namespace
