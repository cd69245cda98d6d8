// The hints: what the shipped file offers, the description handed to the
// field, showing a hint on its target, closing it, and the player's record of
// seen hints in the real profile store (in a temporary folder).
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "engine/data_test_support.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "game/hint_dialog.h"
#include "game/hints_manager.h"
#include "gui/base_control.h"
#include "platform/virtual_keys.h"
#include "profiles/profile_fixture.h"
#include "profiles/user_profiles.h"
#include "dialog_test_support.h"

using namespace game_test;

namespace {

// Two hints of id 5 (the first is the one found) and one without an anchor.
constexpr const char* kHints = R"(<Hints>
  <Hint id="5" wait_time_out="1">
    <Control type="LABEL" id="ID_TEXT" left="100" top="100" caption="Hint_Lock"/>
    <Control type="IMAGE" id="ID_CONTINUE" left="100" top="150" width="80" height="30"/>
    <Control type="IMAGE" id="ID_ANCHOR" left="200" top="180" width="40" height="20"/>
  </Hint>
  <Hint id="5"><Control type="IMAGE" id="ID_CONTINUE" left="0" top="0" width="10" height="10"/></Hint>
  <Hint id="7"><Control type="IMAGE" id="ID_CONTINUE" left="50" top="60" width="10" height="10"/></Hint>
</Hints>)";

class HintsManagerTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (HasFatalFailure()) return;
        profiles_ = std::make_unique<ProfileFixture>();
        TempFolder::Write(profiles_->Data() / "Settings" / "Hints.xml", kHints);
        store_.OpenProfiles();
        ASSERT_TRUE(store_.AddPlayer("Ann"));
        ASSERT_TRUE(store_.AddPlayer("Bo"));
        hints_ = std::make_unique<CHintsManager>(store_, "Settings\\Hints.xml");
    }
    void TearDown() override {
        hints_.reset();
        profiles_.reset();
        DialogTest::TearDown();
    }
    std::vector<int32_t> Unseen(uint32_t player) const {
        std::vector<int32_t> ids {99};
        const bool none = hints_->CollectUnshownHints(player, ids);
        EXPECT_EQ(none, ids.empty());
        return ids;
    }
    void RenderFrame() {
        Frame([&] { hints_->Render(); });
    }

    std::unique_ptr<ProfileFixture> profiles_;
    CUserProfiles store_;
    std::unique_ptr<CHintsManager> hints_;
};

TEST_F(HintsManagerTest, DescribesTheAnchorAsLoadedAndShowsTheHintOnItsTarget) {
    ASSERT_EQ(hints_->GetHintCount(), 3u);
    HintInfo info;
    ASSERT_TRUE(hints_->GetHintInfo(5, info));
    EXPECT_EQ(info.id, 5);
    EXPECT_TRUE(info.wait_time_out);
    EXPECT_EQ(info.bounds, CFloatRect(100, 100, 240, 200));
    EXPECT_EQ(info.anchor.x, 220.0f);
    EXPECT_EQ(info.anchor.y, 200.0f);

    ASSERT_TRUE(hints_->ShowHint(1, 5, 400, 300));
    EXPECT_TRUE(hints_->IsHintActive());
    EXPECT_EQ(hints_->GetActiveIndex(), 0);  // the first of the two
    const CBaseControl* anchor = hints_->GetDialog(0)->FindControl("ID_ANCHOR");
    EXPECT_EQ(anchor->GetX() + anchor->GetWidth() / 2, 400.0f);
    EXPECT_EQ(anchor->GetY() + anchor->GetHeight(), 300.0f);
    // The description stays that of the loaded layout.
    ASSERT_TRUE(hints_->GetHintInfo(5, info));
    EXPECT_EQ(info.anchor.x, 220.0f);

    // Without an anchor: zero description, and the hint stays where it was loaded.
    ASSERT_TRUE(hints_->GetHintInfo(7, info));
    EXPECT_EQ(info.bounds, CFloatRect());
    EXPECT_EQ(info.anchor.x, 0.0f);
    EXPECT_FALSE(info.wait_time_out);
    ASSERT_TRUE(hints_->ShowHint(1, 7, 400, 300));
    EXPECT_EQ(hints_->GetDialog(2)->FindControl("ID_CONTINUE")->GetX(), 50.0f);
}

TEST_F(HintsManagerTest, UnknownIdIsAFailedCheck) {
    const size_t mark = data_test::ReadLog().size();
    HintInfo info;
    EXPECT_FALSE(hints_->GetHintInfo(9, info));
    EXPECT_FALSE(hints_->ShowHint(0, 9, 1, 1));
    EXPECT_FALSE(hints_->IsHintActive());
    EXPECT_NE(data_test::ReadLog().substr(mark).find("Assert failed: 'false'"), std::string::npos);
    RenderFrame();  // nothing active: nothing happens
}

TEST_F(HintsManagerTest, ClosingAHintStoresItForThatPlayerOnly) {
    EXPECT_EQ(Unseen(0), (std::vector<int32_t> {5, 5, 7}));
    ASSERT_TRUE(hints_->ShowHint(0, 7, 10, 10));
    RenderFrame();
    RenderFrame();
    EXPECT_TRUE(hints_->IsHintActive());  // no answer yet

    hints_->OnKeyDown(plat::VK_SPACE);
    RenderFrame();
    EXPECT_FALSE(hints_->IsHintActive());
    EXPECT_EQ(hints_->GetActiveIndex(), CHintsManager::kNoHint);
    EXPECT_TRUE(store_.GetHintShown(0, 7));
    EXPECT_FALSE(store_.GetHintShown(1, 7));
    EXPECT_EQ(Unseen(0), (std::vector<int32_t> {5, 5}));
    EXPECT_EQ(Unseen(1), (std::vector<int32_t> {5, 5, 7}));

    // The continue control closes it as well; a player who has seen all gets nothing.
    ASSERT_TRUE(hints_->ShowHint(0, 5, 300, 300));
    CHintDialog* dialog = hints_->GetDialog(0);
    dialog->OnClick(dialog->FindControl("ID_CONTINUE"));
    RenderFrame();
    EXPECT_FALSE(hints_->IsHintActive());
    EXPECT_TRUE(Unseen(0).empty());
}

TEST_F(HintsManagerTest, HintDialogAnswersOnlySpaceEnterAndContinue) {
    CHintDialog* dialog = hints_->GetDialog(0);
    dialog->Activate();
    for (int key : {plat::VK_ESCAPE, plat::VK_LEFT, int('Y')}) {
        dialog->OnKeyDown(key);
        EXPECT_EQ(dialog->GetResult(), 0) << key;
    }
    EXPECT_EQ(dialog->GetFocus(), -1);  // the arrows do not move the focus here
    dialog->OnClick(dialog->FindControl("ID_TEXT"));
    EXPECT_EQ(dialog->GetResult(), 0);
    dialog->OnKeyDown(plat::VK_RETURN);
    EXPECT_EQ(dialog->GetResult(), CHintDialog::kClosed);
}

using ShippedHintsTest = DialogTest;

TEST_F(ShippedHintsTest, EveryFieldHintHasABubblePointingAtItsTarget) {
    CUserProfiles store;  // not opened: loading only
    const CHintsManager hints(store, std::string(VOVARO_DATA_DIR) + "/Settings/Hints.xml");
    const std::set<int32_t> field_ids {0, 1, 2, 3, 4, 5, 6, 100, 101, 102, 103, 200, 201, 202, 301, 303, 304, 305};
    std::set<int32_t> ids;
    for (size_t i = 0; i < hints.GetHintCount(); ++i) {
        const CHintDialog& dialog = *hints.GetDialog(i);
        EXPECT_TRUE(dialog.HasControl("ID_CONTINUE")) << i;
        EXPECT_TRUE(dialog.HasControl("ID_ANCHOR")) << i;
    }
    for (int32_t id : field_ids) {
        HintInfo info;
        ASSERT_TRUE(hints.GetHintInfo(id, info)) << id;
        ids.insert(id);
        // The pointer's tip is the bubble's lowest point, under the bubble.
        EXPECT_EQ(info.anchor.y, info.bounds.bottom) << id;
        EXPECT_GT(info.anchor.x, info.bounds.left + 24) << id;
        EXPECT_LT(info.anchor.x, info.bounds.right - 24) << id;
    }
    EXPECT_EQ(hints.GetHintCount(), field_ids.size());
}

// The icon of the tool hint (which points at the balls that charge the
// feather) and of the help's line on charging is the picture the field draws
// for such a ball, so the player finds on the board what the icon shows.
TEST_F(ShippedHintsTest, TheChargeIconsShowABallThatChargesATool) {
    const std::string data = VOVARO_DATA_DIR;
    const CXMLFile base(data + "/Settings/Bases/Balls.XML");
    const CXMLFile kinds(data + "/Settings/Balls.xml");
    // The tool that the kind drawn with these graphics charges; 0 none.
    const auto credit_of_picture = [&](const CXMLNode& graphics) {
        const std::string texture = graphics.GetAttribute("texture", ""), rect = graphics.GetAttribute("tex_rect", "");
        const CXMLNodeList objects = base.SelectNodes("//GraphObj");
        for (int i = 0; i < objects.GetLength(); ++i) {
            const CXMLNode drawn = objects.GetItem(i).SelectSingleNode("State/Layer/graphics");
            if (drawn.GetAttribute("texture", "") != texture || drawn.GetAttribute("tex_rect", "") != rect) continue;
            const std::string type = objects.GetItem(i).GetAttribute("graph_type", "");
            return kinds.SelectSingleNode("//Balls/Ball[@graph_type='" + type + "']/ResCredit").GetAttributeInt("type", 0);
        }
        return 0;
    };
    const CXMLFile hints(data + "/Settings/Hints.xml");
    EXPECT_EQ(credit_of_picture(hints.SelectSingleNode("//Hint[@id='301']/Control[@id='ID_ICON']/graphics")), 2);
    const CXMLFile dialogs(data + "/Settings/Dialogs.xml");
    EXPECT_NE(credit_of_picture(dialogs.SelectSingleNode("//Control[@id='ID_CHARGE_ICON']/graphics")), 0);
}

}  // namespace
