// The resume offer on the shipped node: the numbers it keeps and prints
// (1-based, the next episode's start for a game saved at an episode's end)
// and its three answers.
#include "frontend/load_suspended_dialog.h"

#include <gtest/gtest.h>

#include "gui/menu_label.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

using LoadSuspendedDialogTest = MenuTest;

struct SavedGame {
    int32_t episode, level, score, lives;
};

TEST_F(LoadSuspendedDialogTest, ShowsTheSavedEpisodeAndLevelOneBased) {
    CLoadSuspendedDialog d;
    d.Load(DialogNode("LoadSuspendedDialog"));
    struct Case {
        SavedGame saved;
        bool next_episode;
        int32_t episode, level;
    };
    const Case cases[] = {
        {{2, 4, 1500, 3}, false, 2, 4},
        {{2, 4, 1500, 3}, true, 3, 0},
        {{0, 0, 0, 5}, false, 0, 0},
    };
    for (const Case& c : cases) {
        d.SetResult(7);
        d.Setup(c.saved, c.next_episode);
        EXPECT_EQ(d.GetResult(), 0);  // shown afresh
        EXPECT_EQ(d.GetEpisode(), c.episode);
        EXPECT_EQ(d.GetLevel(), c.level);
        EXPECT_EQ(d.GetScore(), c.saved.score);
        EXPECT_EQ(d.GetLives(), c.saved.lives);
    }
    // Both numbers are printed by the dialog.
    EXPECT_TRUE(Control<CMenuLabel>(d, "ID_MISSION")->IsOwnerDraw());
    EXPECT_TRUE(Control<CMenuLabel>(d, "ID_LEVEL")->IsOwnerDraw());
}

TEST_F(LoadSuspendedDialogTest, AnswersLoadNewGameAndBack) {
    CLoadSuspendedDialog d;
    d.Load(DialogNode("LoadSuspendedDialog"));
    d.Setup(1, 1, 0, 3, false);
    Click(d, "ID_LOAD");
    EXPECT_EQ(d.GetResult(), CLoadSuspendedDialog::kResultLoad);
    Click(d, "ID_BACK");
    EXPECT_EQ(d.GetResult(), CLoadSuspendedDialog::kResultNewGame);
    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), CLoadSuspendedDialog::kResultBack);
    d.OnKeyDown(plat::VK_RIGHT);  // no focus moves
    EXPECT_EQ(d.GetFocus(), -1);
}

}  // namespace
