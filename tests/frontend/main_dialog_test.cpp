// The main panel on the shipped node: each button gives its command, opening
// the panel clears the command, and the greeting names the active player,
// laid out again when another player becomes active.
#include "frontend/main_dialog.h"

#include <gtest/gtest.h>

#include "gui/menu_label.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

using MainDialogTest = MenuTest;

TEST_F(MainDialogTest, ButtonsGiveTheirCommands) {
    CMainDialog d(&store);
    d.Load(DialogNode("MainDialog"));
    const std::pair<const char*, int> cases[] = {
        {"ID_ARCADE", CMainDialog::kArcade},
        {"ID_OPTIONS", CMainDialog::kOptions},
        {"ID_EXIT", CMainDialog::kExit},
        {"ID_SELECT_PROFILE", CMainDialog::kSelectProfile},
    };
    for (const auto& [id, command] : cases) {
        d.Activate();
        EXPECT_EQ(d.GetCommand(), CMainDialog::kNone);
        Click(d, id);
        EXPECT_EQ(d.GetCommand(), command) << id;
        Click(d, "ID_TITLE");  // other controls leave it
        EXPECT_EQ(d.GetCommand(), command) << id;
    }
}

TEST_F(MainDialogTest, GreetingNamesTheActivePlayer) {
    ASSERT_TRUE(store.AddPlayer("ANN"));
    ASSERT_TRUE(store.AddPlayer("BO"));
    CMainDialog d(&store);
    d.Load(DialogNode("MainDialog"));
    d.Activate();
    auto* label = Control<CMenuLabel>(d, "ID_SELECTED_USER");
    ASSERT_TRUE(label->IsOwnerDraw());
    Frame([&] { d.Draw(false); });
    const CStaticText& text = label->GetStaticText();
    EXPECT_EQ(text.GetAlias(), "SelectedUser");
    EXPECT_EQ(text.GetArgA().GetString(), "BO");
    EXPECT_EQ(text.GetPosition().x, label->GetX());

    store.SetActivePlayer(0);
    Frame([&] { d.Draw(false); });
    EXPECT_EQ(label->GetStaticText().GetArgA().GetString(), "ANN");
}

}  // namespace
