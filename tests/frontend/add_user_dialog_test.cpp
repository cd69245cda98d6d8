// The name entry on both shipped nodes, typed through the keyboard: a new
// name creates the player (active, first episode open), a known name makes
// that player active and keeps the panel open, an empty name is never taken,
// and back or Esc answer 3.
#include "frontend/add_user_dialog.h"

#include <gtest/gtest.h>

#include "gui/base_menu_edit.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

class AddUserDialogTest : public MenuTest {
protected:
    void TypeName(CAddUserDialog& d, const std::string& name) {
        for (char c : name) Type(d, c);
    }
    static CBaseMenuEdit* Edit(const CAddUserDialog& d) { return Control<CBaseMenuEdit>(d, "ID_USER_NAME"); }
};

TEST_F(AddUserDialogTest, EnterWithANewNameCreatesTheActivePlayer) {
    for (const char* node : {"AddUserDialog", "StartAddUserDialog"}) {
        SCOPED_TRACE(node);
        CAddUserDialog d(&store);
        d.Load(DialogNode(node));
        d.Activate();
        ASSERT_TRUE(Edit(d)->IsActive());
        const std::string name = std::string(node).substr(0, 3) == "Add" ? "ANN" : "BO7";
        TypeName(d, name);
        EXPECT_EQ(d.GetResult(), 0);
        Type(d, plat::VK_RETURN);
        EXPECT_EQ(d.GetResult(), CAddUserDialog::kResultAdded);
        EXPECT_EQ(d.GetName(), name);
        ASSERT_TRUE(store.HasActivePlayer());
        std::string active;
        EXPECT_EQ(store.GetPlayerName(active, store.GetActivePlayer()), name);
        int32_t available = 0;
        EXPECT_TRUE(store.GetEpisodeAvailability(store.GetActivePlayer(), 0, available));
        EXPECT_EQ(available, 1);
    }
    EXPECT_EQ(store.GetPlayerCount(), 2u);
    // The first run's panel has no way back.
    CAddUserDialog first(&store);
    first.Load(DialogNode("StartAddUserDialog"));
    EXPECT_FALSE(first.FindControl("ID_BACK")->IsVisible());
}

TEST_F(AddUserDialogTest, AKnownNameSelectsThatPlayerAndThePanelStays) {
    ASSERT_TRUE(store.AddPlayer("ANN"));
    ASSERT_TRUE(store.AddPlayer("BO"));
    CAddUserDialog d(&store);
    d.Load(DialogNode("AddUserDialog"));
    d.Activate();
    TypeName(d, "ANN");
    Type(d, plat::VK_RETURN);
    EXPECT_EQ(d.GetResult(), 0);
    EXPECT_EQ(store.GetActivePlayer(), 0u);
    EXPECT_EQ(store.GetPlayerCount(), 2u);
    EXPECT_TRUE(Edit(d)->IsActive());  // ready for another name
    EXPECT_EQ(Edit(d)->GetText(), "ANN");
    // Names are told apart byte for byte: one letter more is a new player.
    Type(d, 'A');
    Click(d, "ID_OK");
    EXPECT_EQ(d.GetResult(), CAddUserDialog::kResultAdded);
    EXPECT_EQ(store.GetPlayerCount(), 3u);
    EXPECT_EQ(store.GetActivePlayer(), 2u);
}

TEST_F(AddUserDialogTest, AnEmptyNameIsNeverTakenAndBackClearsIt) {
    CAddUserDialog d(&store);
    d.Load(DialogNode("AddUserDialog"));
    d.Activate();
    Type(d, plat::VK_RETURN);
    Click(d, "ID_OK");
    EXPECT_EQ(d.GetResult(), 0);
    EXPECT_TRUE(Edit(d)->IsActive());
    EXPECT_EQ(store.GetPlayerCount(), 0u);

    TypeName(d, "CID");
    Click(d, "ID_BACK");
    EXPECT_EQ(d.GetResult(), CAddUserDialog::kResultBack);
    EXPECT_EQ(d.GetName(), "");
    EXPECT_EQ(store.GetPlayerCount(), 0u);

    d.Activate();
    EXPECT_EQ(Edit(d)->GetText(), "");
    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), CAddUserDialog::kResultBack);
}

// Blanks inside a name are kept; a blank before it is refused by the edit and
// blanks after it are no part of it, so "JO ANN " is the player "JO ANN".
TEST_F(AddUserDialogTest, BlanksAtTheEndsAreNoPartOfAName) {
    CAddUserDialog d(&store);
    d.Load(DialogNode("AddUserDialog"));
    auto enter = [&](const std::string& text) {
        d.Activate();
        window()->InjectText(text);
        Drain();
        Frame([&] { d.Draw(false); });
        Type(d, plat::VK_RETURN);
    };
    enter(" JO-ANN O'X ");
    EXPECT_EQ(d.GetResult(), CAddUserDialog::kResultAdded);
    EXPECT_EQ(d.GetName(), "JO-ANN O'X");
    enter("JO-ANN O'X  ");
    EXPECT_EQ(d.GetResult(), 0);  // the same player, made active again
    EXPECT_EQ(store.GetPlayerCount(), 1u);
    std::string name;
    EXPECT_EQ(store.GetPlayerName(name, 0), "JO-ANN O'X");
}

}  // namespace
