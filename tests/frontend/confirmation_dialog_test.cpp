// The two yes-or-no questions on their shipped nodes: "start a new game?"
// answers yes 1, no and Esc 2; "delete this player?" answers yes 1, no and
// Esc 3 (so Esc closes it as "no" does). Arrow keys move no focus.
#include "frontend/confirmation_dialog.h"

#include <gtest/gtest.h>

#include "frontend/profile_delete_confirmation_dialog.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

using ConfirmationDialogTest = MenuTest;

TEST_F(ConfirmationDialogTest, Answers) {
    CConfirmationDialog new_game;
    new_game.Load(DialogNode("NewGameConfirmation"));
    CProfileDeleteConfirmationDialog delete_player;
    delete_player.Load(DialogNode("ProfileDeleteConfirmationDialog"));
    struct Case {
        CConfirmationDialog* dialog;
        const char* click;  // null: the key
        int key, result;
    };
    const Case cases[] = {
        {&new_game, "ID_YES", 0, 1},           {&new_game, "ID_NO", 0, 2},
        {&new_game, nullptr, plat::VK_ESCAPE, 2}, {&new_game, nullptr, plat::VK_DOWN, 0},
        {&delete_player, "ID_YES", 0, 1},      {&delete_player, "ID_NO", 0, 3},
        {&delete_player, nullptr, plat::VK_ESCAPE, 3}, {&delete_player, nullptr, plat::VK_RIGHT, 0},
        {&delete_player, nullptr, plat::VK_RETURN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dialog == &new_game ? "new game " : "delete ") +
                     (c.click ? c.click : std::to_string(c.key)));
        c.dialog->Activate();
        if (c.click) Click(*c.dialog, c.click);
        else c.dialog->OnKeyDown(c.key);
        EXPECT_EQ(c.dialog->GetResult(), c.result);
        EXPECT_EQ(c.dialog->GetFocus(), -1);
    }
}

}  // namespace
