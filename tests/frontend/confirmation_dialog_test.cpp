// The new-game question on the shipped node: yes 1, no and Esc 2; arrow keys
// do not move the focus.
#include "frontend/confirmation_dialog.h"

#include <gtest/gtest.h>

#include <tuple>

#include "menu_test_support.h"

using namespace menu_test;

namespace {

using ConfirmationDialogTest = MenuTest;

TEST_F(ConfirmationDialogTest, Answers) {
    CConfirmationDialog d;
    d.Load(DialogNode("NewGameConfirmation"));
    const std::tuple<const char*, int, int> cases[] = {
        {"ID_YES", 0, 1},
        {"ID_NO", 0, 2},
        {nullptr, plat::VK_ESCAPE, 2},
        {nullptr, plat::VK_DOWN, 0},
    };
    for (const auto& [id, key, result] : cases) {
        d.Activate();
        if (id) Click(d, id);
        else d.OnKeyDown(key);
        EXPECT_EQ(d.GetResult(), result) << (id ? id : std::to_string(key));
        EXPECT_EQ(d.GetFocus(), -1);
    }
}

}  // namespace
