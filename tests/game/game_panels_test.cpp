// The heads-up panel as shipped (Settings\Dialogs.xml "GameDialog",
// GameScreenPanel.xml, Bases\Common.xml): clicks answer 3 to 6 (egg 5,
// feather 6), a full charge shows the button and image and hides the bar,
// switching a tool on twice runs its ring once, and an available tool blinks
// once blinks are enabled.
#include <gtest/gtest.h>

#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "game/game_panels.h"
#include "game/hints_manager.h"
#include "gui/base_control.h"
#include "gui/menu_progress_bar.h"
#include "gui/sample_queue.h"
#include "hud_test_support.h"
#include "platform/window.h"
#include "profiles/user_profiles.h"

namespace {

class GamePanelsTest : public hud_test::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        if (HasFatalFailure()) return;
        panels_ = std::make_unique<CGamePanels>();
        ASSERT_TRUE(panels_->LoadFromDialogs());
        ReleaseInput();
    }
    void TearDown() override {
        ReleaseInput();
        panels_.reset();
        HudTest::TearDown();
    }
    void ReleaseInput() {
        core().GetHWND()->InjectMouseButton(0, false);
        core().GetHWND()->InjectMouseMove(0, 0);
        Draw();
        Draw();
    }
    void Draw() {
        if (panels_) Frame([&] { panels_->Render(); });
    }
    bool Visible(const char* id) { return panels_->FindControl(id)->IsVisible(); }
    // A click in the middle of a control: the pointer moves, then the button goes down and up.
    void Click(const char* id) {
        const CBaseControl* c = panels_->FindControl(id);
        core().GetHWND()->InjectMouseMove(static_cast<int>(c->GetX() + c->GetWidth() / 2),
                                          static_cast<int>(c->GetY() + c->GetHeight() / 2));
        Draw();
        core().GetHWND()->InjectMouseButton(0, true);
        Draw();
        core().GetHWND()->InjectMouseButton(0, false);
        Draw();
    }

    std::unique_ptr<CGamePanels> panels_;
};

TEST_F(GamePanelsTest, ClicksAnswerThroughTheResultWord) {
    for (int tool : {kToolHammer, kToolFeather, kToolEgg}) panels_->SetToolProgress({tool, 100});
    const std::pair<const char*, int> cases[] = {{"ID_MENU", 3}, {"ID_HAMMER", 4}, {"ID_EGG", 5}, {"ID_FEATHER", 6}};
    for (const auto& [id, result] : cases) {
        panels_->SetResult(0);
        Click(id);
        EXPECT_EQ(panels_->GetResult(), result) << id;
    }
    // A hidden tool button takes no click.
    panels_->SetToolProgress({kToolEgg, 10});
    panels_->SetResult(0);
    Click("ID_EGG");
    EXPECT_EQ(panels_->GetResult(), 0);
}

TEST_F(GamePanelsTest, FullChargeShowsButtonAndImageAndHidesTheBar) {
    EXPECT_FALSE(panels_->IsToolAvailable(kToolFeather));
    EXPECT_TRUE(panels_->SetToolProgress({kToolFeather, 100}));
    EXPECT_TRUE(Visible("ID_FEATHER"));
    EXPECT_TRUE(Visible("ID_FEATHER_IMAGE"));
    EXPECT_FALSE(Visible("ID_FEATHER_PROGRESS"));
    EXPECT_TRUE(panels_->IsToolAvailable(kToolFeather));

    EXPECT_TRUE(panels_->SetToolProgress({kToolFeather, 99}));
    EXPECT_FALSE(Visible("ID_FEATHER"));
    EXPECT_FALSE(Visible("ID_FEATHER_IMAGE"));
    EXPECT_TRUE(Visible("ID_FEATHER_PROGRESS"));

    ToolValue read {kToolFeather, 0};
    EXPECT_TRUE(panels_->GetToolProgress(read));
    EXPECT_EQ(read.value, 99);
    EXPECT_FALSE(panels_->AddToolProgress({kToolHammer, 60}));
    EXPECT_TRUE(panels_->AddToolProgress({kToolHammer, 60}));  // clamped at 100
    read.tool = kToolHammer;
    panels_->GetToolProgress(read);
    EXPECT_EQ(read.value, 100);
    panels_->ResetToolProgress(kToolHammer);
    panels_->GetToolProgress(read);
    EXPECT_EQ(read.value, 0);

    CVector2 point;
    EXPECT_TRUE(panels_->GetToolProgressPoint(kToolEgg, point));
    const CBaseControl* bar = panels_->FindControl("ID_EGG_PROGRESS");
    EXPECT_GE(point.x, bar->GetX());
    EXPECT_LE(point.x, bar->GetX() + bar->GetWidth());

    ToolValue bad {4, 0};
    EXPECT_FALSE(panels_->GetToolProgress(bad));
    EXPECT_FALSE(panels_->SetToolProgress(bad));
    EXPECT_FALSE(panels_->IsToolAvailable(0));
}

TEST_F(GamePanelsTest, SwitchingAToolOnTwiceRunsItsRingOnce) {
    CToolRing* ring = panels_->GetRing(kToolEgg);
    panels_->EnableTool(kToolEgg, true);
    EXPECT_TRUE(ring->IsRunning());
    int frames = 0;
    while (!panels_->IsToolAvailable(kToolEgg)) {
        Draw();
        ASSERT_LT(++frames, 200);
    }
    EXPECT_FALSE(ring->IsRunning());
    EXPECT_TRUE(Visible("ID_EGG_IMAGE"));
    EXPECT_FALSE(Visible("ID_EGG_PROGRESS"));

    panels_->EnableTool(kToolEgg, true);
    EXPECT_FALSE(ring->IsRunning());

    panels_->EnableTool(kToolEgg, false);
    EXPECT_FALSE(panels_->IsToolAvailable(kToolEgg));
    EXPECT_FALSE(Visible("ID_EGG_IMAGE"));
    EXPECT_TRUE(Visible("ID_EGG_PROGRESS"));
    panels_->EnableTool(kToolEgg, true);
    EXPECT_TRUE(ring->IsRunning());
}

TEST_F(GamePanelsTest, AvailableToolBlinksOnceBlinksAreEnabled) {
    // The shipped blinks in the order hammer, feather, egg.
    ASSERT_EQ(panels_->GetBlinkDescs().size(), 3u);
    EXPECT_LT(panels_->GetBlinkDescs()[0].pos.y, panels_->GetBlinkDescs()[1].pos.y);
    EXPECT_LT(panels_->GetBlinkDescs()[1].pos.y, panels_->GetBlinkDescs()[2].pos.y);

    panels_->SetToolProgress({kToolHammer, 100});
    Draw();
    EXPECT_EQ(panels_->GetBlink(kToolHammer), nullptr);  // blinks start disabled
    panels_->EnableToolBlinks(true);
    g_SampleQueue.Clear();
    Draw();
    const CArtefactBlink* blink = panels_->GetBlink(kToolHammer);
    ASSERT_NE(blink, nullptr);
    EXPECT_EQ(panels_->GetBlink(kToolEgg), nullptr);  // not available
    Draw();  // its first drawn frame queues the sample
    EXPECT_EQ(g_SampleQueue.GetAliases().count("tool_blink"), 1u);
    // Hiding the image drops the blink.
    panels_->ShowToolImage(kToolHammer, false);
    EXPECT_EQ(panels_->GetBlink(kToolHammer), nullptr);
    g_SampleQueue.Clear();
}

}  // namespace

namespace {

// Every label the panel prints (its captions and its indicators' texts) is
// there in every shipped language.
TEST(GamePanelsDataTest, EveryLabelExistsInEveryLanguage) {
    const std::string settings = std::string(VOVARO_SOURCE_DIR) + "/data/Settings/";
    std::vector<std::string> aliases;
    CXMLFile dialogs(settings + "Dialogs.xml");
    const CXMLNodeList captions = dialogs.SelectNodes("//Dialogs/GameDialog//@caption | //Dialogs/GameDialog//Caption/@label");
    for (int i = 0; i < captions.GetLength(); ++i) aliases.push_back(captions.GetItem(i).GetValue());
    CXMLFile panel(settings + "GameScreenPanel.xml");
    const CXMLNodeList texts = panel.SelectNodes("//Indicators/Indicator/State/Text/@label");
    for (int i = 0; i < texts.GetLength(); ++i) aliases.push_back(texts.GetItem(i).GetValue());
    ASSERT_EQ(aliases.size(), 12u);
    for (const char* language : {"Labels_English.xml", "Labels_German.xml"}) {
        CXMLFile labels(settings + language);
        for (const std::string& alias : aliases)
            EXPECT_TRUE(labels.SelectSingleNode("//labels/label[@alias='" + alias + "']").IsValid())
                << alias << " in " << language;
    }
}

// A tool's hint points at the tool's button; its bubble stays on the screen.
TEST_F(GamePanelsTest, AToolHintAtItsButtonStaysOnTheScreen) {
    CUserProfiles store;  // not opened: loading only
    const CHintsManager hints(store, std::string(VOVARO_DATA_DIR) + "/Settings/Hints.xml");
    for (int tool : {kToolHammer, kToolFeather, kToolEgg}) {
        SCOPED_TRACE(tool);
        CVector2 point;
        ASSERT_TRUE(panels_->GetToolButtonPos(tool, point));
        HintInfo info;
        ASSERT_TRUE(hints.GetHintInfo(199 + tool, info));
        CFloatRect box = info.bounds;
        box.Offset(point.x - info.anchor.x, point.y - info.anchor.y);
        EXPECT_GE(box.left, 0.0f);
        EXPECT_GE(box.top, 0.0f);
        EXPECT_LE(box.right, 800.0f);
        EXPECT_LE(box.bottom, 600.0f);
    }
}

}  // namespace
