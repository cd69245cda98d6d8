// The list of players on the shipped dialog nodes and a real profile store:
// rows and buttons follow the store, OK and a double click choose, and delete
// marks a row that the confirmation deletes once.
#include "frontend/profile_dialog.h"

#include <gtest/gtest.h>

#include "frontend/profile_delete_confirmation_dialog.h"
#include "gui/menu_list_box.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

class ProfileDialogTest : public MenuTest {
protected:
    void AddPlayers(std::initializer_list<const char*> names) {
        for (const char* name : names) ASSERT_TRUE(store.AddPlayer(name));
    }
    static bool Enabled(const CBaseDialog& d, const std::string& id) { return d.FindControl(id)->IsEnabled(); }
    static CMenuListBox* List(const CBaseDialog& d) { return Control<CMenuListBox>(d, "ID_PROF_LIST"); }
};

TEST_F(ProfileDialogTest, WithoutPlayersOnlyAddIsOfferedAndEscDoesNothing) {
    CProfileDialog d(&store);
    d.Load(DialogNode("ProfileDialog"));
    d.Activate();
    EXPECT_EQ(List(d)->GetItemCount(), 0u);
    EXPECT_TRUE(Enabled(d, "ID_ADD"));
    for (const char* id : {"ID_OK", "ID_DELETE", "ID_BACK"}) EXPECT_FALSE(Enabled(d, id)) << id;
    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), 0);
    Click(d, "ID_ADD");
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultAdd);
}

TEST_F(ProfileDialogTest, RowsShowEveryPlayerWithTheActiveOneSelected) {
    AddPlayers({"ANN", "BO", "CID"});
    store.SetActivePlayer(1);
    CProfileDialog d(&store);
    d.Load(DialogNode("ProfileDialog"));
    d.Activate();
    EXPECT_EQ(d.GetNames(), (std::vector<std::string> {"ANN", "BO", "CID"}));
    ASSERT_EQ(List(d)->GetItemCount(), 3u);
    EXPECT_EQ(List(d)->GetItemText(2), "UserName");
    EXPECT_EQ(List(d)->GetSelected(), 1u);
    for (const char* id : {"ID_OK", "ID_DELETE", "ID_BACK", "ID_ADD"}) EXPECT_TRUE(Enabled(d, id)) << id;

    // Each row is printed by the dialog with its player's name.
    Frame([&] { d.Draw(false); });
    EXPECT_EQ(NewLog().find("Assert failed"), std::string::npos);

    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultBack);
    d.Activate();
    Click(d, "ID_BACK");
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultBack);
}

TEST_F(ProfileDialogTest, OkAndDoubleClickMakeTheRowsPlayerActive) {
    AddPlayers({"ANN", "BO", "CID"});
    CProfileDialog d(&store);
    d.Load(DialogNode("ProfileDialog"));
    d.Activate();
    List(d)->Select(0);
    Click(d, "ID_OK");
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultChosen);
    EXPECT_EQ(store.GetActivePlayer(), 0u);

    d.Activate();
    d.OnItemClick(List(d), 1);
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultChosen);
    EXPECT_EQ(store.GetActivePlayer(), 1u);

    // A row that is no player chooses nothing.
    d.Activate();
    d.OnItemClick(List(d), 7);
    EXPECT_EQ(d.GetResult(), 0);
    EXPECT_EQ(store.GetActivePlayer(), 1u);
}

TEST_F(ProfileDialogTest, DeleteMarksTheRowAndTheConfirmationDeletesItOnce) {
    AddPlayers({"ANN", "BO", "CID"});
    store.SetActivePlayer(2);
    CProfileDialog d(&store);
    d.Load(DialogNode("ProfileDialog"));
    CProfileDeleteConfirmationDialog confirm;
    confirm.Load(DialogNode("ProfileDeleteConfirmationDialog"));
    d.Activate();

    List(d)->Select(0);
    Click(d, "ID_DELETE");
    EXPECT_EQ(d.GetResult(), CProfileDialog::kResultDelete);
    EXPECT_EQ(d.GetMarked(), 0);
    EXPECT_EQ(store.GetPlayerCount(), 3u);  // nothing happens before the answer

    confirm.Activate();
    Click(confirm, "ID_YES");
    ASSERT_EQ(confirm.GetResult(), CProfileDeleteConfirmationDialog::kResultYes);
    d.DeleteMarked();
    EXPECT_EQ(d.GetNames(), (std::vector<std::string> {"BO", "CID"}));
    EXPECT_EQ(List(d)->GetItemCount(), 2u);
    EXPECT_EQ(store.GetActivePlayer(), 1u);  // CID moved up a row and stays active
    EXPECT_EQ(List(d)->GetSelected(), 1u);
    // The mark is used up: a second answer deletes no one.
    d.DeleteMarked();
    EXPECT_EQ(store.GetPlayerCount(), 2u);
}

// A delete whose reload of the players fails (a column renamed under the
// running game) is logged where the list asked, and the list goes on.
TEST_F(ProfileDialogTest, ADeleteWhoseReloadFailsIsLoggedAndTheListGoesOn) {
    AddPlayers({"ANN", "BO"});
    CProfileDialog d(&store);
    d.Load(DialogNode("ProfileDialog"));
    d.Activate();
    List(d)->Select(0);
    Click(d, "ID_DELETE");
    store.Database().execute("alter table playerData rename column name to nameGone");
    EXPECT_NO_THROW(d.DeleteMarked());
    EXPECT_EQ(d.GetMarked(), -1);
    EXPECT_NE(NewLog().find("(CProfileDialog::DeleteMarked)"), std::string::npos);
}

}  // namespace
