// The field's egg, feather and debug actions, and its own popups, tool
// carriers and column bonus plugged in, on the small board of
// levels/moves_level.xml (see game_field_moves_test.cpp for its balls).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field/end_level_stuff2.h"
#include "field/field_flags.h"
#include "field/field_state.h"
#include "field/game_field.h"
#include "field/praise.h"
#include "field/res_ferryman.h"
#include "game_field_test_support.h"
#include "field/birds.h"
#include "gui/gui_test_support.h"
#include "gui/sample_queue.h"

namespace {

using field_test::FakeBonusList;

class GameFieldToolsTest : public field_test::GameFieldFixture {
protected:
    void SetUp() override {
        GameFieldFixture::SetUp();
        LoadBoard("moves_level.xml");
        g_SampleQueue.Clear();
    }
    void TearDown() override {
        g_SampleQueue.Clear();
        GameFieldFixture::TearDown();
    }
    // The goal is met and no fragment is to enter: the level end reaches
    // its stage 2.
    void ReachLevelEndStage() {
        Balls().RemoveBall(14);  // the board's fragment
        field_->GetFieldState().SetTarget(1);
        field_->GetFieldState().Add(1);
        field_->IsLevelComplete();
        field_->IsLevelComplete();
        ASSERT_EQ(field_->GetStage(), 2);
    }
};

TEST_F(GameFieldToolsTest, TheEggStartsItsKillerAndEndsTheSlowDown) {
    bonuses_.AddBonus(3, 5, false);
    EXPECT_TRUE(field_->UseEgg());
    EXPECT_EQ(bonuses_.started.back(), (FakeBonusList::Started {8, 0, false}));
    EXPECT_FALSE(bonuses_.IsBonusActive(3));
    EXPECT_EQ(scene_->calls, (std::vector<std::string> {"EnableTool 3 0", "ResetToolProgress 3"}));
}

TEST_F(GameFieldToolsTest, TheFeatherStartsItsKillerAndKeepsTheSlowDown) {
    bonuses_.AddBonus(3, 5, false);
    EXPECT_TRUE(field_->UseFeather());
    EXPECT_EQ(bonuses_.started.back(), (FakeBonusList::Started {7, 0, false}));
    EXPECT_TRUE(bonuses_.IsBonusActive(3));
    EXPECT_EQ(scene_->calls, (std::vector<std::string> {"EnableTool 2 0", "ResetToolProgress 2"}));
}

TEST_F(GameFieldToolsTest, EggAndFeatherWaitOutsidePlay) {
    const auto unused = [this] {
        const size_t started = bonuses_.started.size();
        const bool egg = field_->UseEgg();
        const bool feather = field_->UseFeather();
        return !egg && !feather && bonuses_.started.size() == started;
    };
    scene_->state = gsPause;
    EXPECT_TRUE(unused()) << "paused";
    scene_->state = gsDefault;
    ReachLevelEndStage();
    EXPECT_TRUE(unused()) << "level end";
    // Set up again: the start fill runs until the balls have landed.
    field_->SetupLevel();
    ASSERT_TRUE(field_->IsLevelStarting());
    EXPECT_TRUE(unused()) << "start fill";
    for (const std::string& call : scene_->calls) EXPECT_EQ(call.rfind("ResetToolProgress", 0), std::string::npos);
}

TEST_F(GameFieldToolsTest, DebugToolsAndMixer) {
    scene_->tool_max = 3;
    field_->DebugGiveTool(2, 3);
    // The debug grant sounds the hammer's sample whatever the tool.
    EXPECT_EQ(g_SampleQueue.GetAliases().count("hammer_appear"), 1u);
    EXPECT_EQ(g_SampleQueue.GetAliases().count("feather_appear"), 0u);
    EXPECT_EQ(scene_->calls, std::vector<std::string> {"EnableTool 2 1"});
    // Not for the hammer in the hand.
    field_->GetFieldFlags()->Set(CFieldFlags::ffHammerTaken, 1);
    field_->DebugGiveTool(1, 3);
    EXPECT_EQ(scene_->progress[1], 0);
    field_->DebugStartMixer();
    EXPECT_EQ(bonuses_.started.back(), (FakeBonusList::Started {6, 0, false}));
}

TEST_F(GameFieldToolsTest, ScoresShowTheFieldsOwnPopups) {
    field_->SetPraise(&field_->GetPraiseLabels());
    field_->AddScoreAtPos(200, 200, 30, "Score_small", CPraise::pkRise);
    field_->AddScoreAtPos(200, 200, 0, "Score_small", CPraise::pkRise);
    EXPECT_EQ(field_->GetPraiseLabels().GetEntries().size(), 1u);
    field_->ClearLevel();
    EXPECT_TRUE(field_->GetPraiseLabels().GetEntries().empty());
}

TEST_F(GameFieldToolsTest, AKilledBallsCreditFliesToItsBarAndTheLifeEndWaitsForIt) {
    CResFerryman& ferryman = field_->GetResFerryman();
    field_->SetToolCarriers(&ferryman);
    scene_->tool_max = 1;
    // The red ball in cell 0 charges the hammer by 1.
    BallDesc red = Balls().GetBall(0);
    red.credit_type = 1;
    red.credit_amount = 1;
    Balls().ChangeBallDesc(0, red);
    field_->DeleteMatchedCells({0}, {}, {}, {});
    ASSERT_EQ(ferryman.GetCarriers().size(), 1u);
    EXPECT_EQ(scene_->progress[1], 0);

    field_->QueueLifeLostSteps();
    EXPECT_FALSE(field_->ProcessEndIteration());
    for (int frame = 0; frame < 500 && !ferryman.IsIdle(); ++frame) ferryman.Update();
    EXPECT_TRUE(ferryman.IsIdle());
    EXPECT_EQ(scene_->progress[1], 1);
    EXPECT_EQ(g_SampleQueue.GetAliases().count("hammer_appear"), 1u);
    EXPECT_EQ(scene_->calls.back(), "EnableTool 1 1");
}

TEST_F(GameFieldToolsTest, TheFirstSetUpMakesTheColumnBonusForTheLevelEnd) {
    EXPECT_EQ(field_->GetEndLevelStuff(), nullptr);
    field_->SetupLevel();
    CEndLevelStuff2* stuff = field_->GetEndLevelStuff();
    ASSERT_NE(stuff, nullptr);
    EXPECT_EQ(stuff->GetExplosion(), "column_blast");
    field_->SetupLevel();
    EXPECT_EQ(field_->GetEndLevelStuff(), stuff);
    EXPECT_FALSE(stuff->IsStarted());
}

TEST_F(GameFieldToolsTest, DebugBonusAndBirdAtThePointer) {
    // The board again, with the dynamite (graph type 12) among its bonus kinds.
    std::string level = field_test::ReadLevel("moves_level.xml");
    const std::string palette = "<Ball graph_type=\"3\"/>";
    level.insert(level.find(palette) + palette.size(),
                 "<Bonus graph_type=\"12\" bonus_type=\"2\" range_time=\"300\" range_time_plus_minus=\"0\"/>");
    ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(level, "/Level")));
    const auto point_at = [this](int cell) {
        const CVector2 c = Centre(cell);
        gui_test::CoreDriver::MoveTo(static_cast<int>(c.x), static_cast<int>(c.y));
        gui_test::CoreDriver::Frame();
    };
    point_at(5);
    field_->DebugPlaceBonus(2);
    EXPECT_EQ(TypeAt(5), 12);
    // A kind the level lacks, the fragment and the locked ball keep their balls.
    point_at(6);
    field_->DebugPlaceBonus(5);
    EXPECT_EQ(TypeAt(6), 3);
    for (int cell : {14, 15}) {
        const int before = TypeAt(cell);
        point_at(cell);
        field_->DebugPlaceBonus(2);
        EXPECT_EQ(TypeAt(cell), before) << cell;
    }
    const size_t birds = field_->GetBirds().GetBirds().size();
    point_at(3);
    field_->DebugPlaceBird();
    EXPECT_EQ(field_->GetBirds().GetBirds().size(), birds + 1);
}

TEST_F(GameFieldToolsTest, DebugRowDropWaitsForAnOpenBoard) {
    LoadBoard("win_level.xml");
    field_->RestartLevel();
    ASSERT_EQ(field_->GetRowsCountdown().GetCurrent(), 9u);
    // The tiles still appear.
    field_->DebugDropRow();
    EXPECT_EQ(field_->GetRowsCountdown().GetCurrent(), 9u);
    field_->GetTilesField()->FinishAppear();
    Balls().Clear();
    scene_->state = gsPause;
    field_->DebugDropRow();
    EXPECT_EQ(field_->GetRowsCountdown().GetCurrent(), 9u);
    // An empty board in play: the next row falls at once.
    scene_->state = gsDefault;
    field_->DebugDropRow();
    EXPECT_EQ(field_->GetRowsCountdown().GetCurrent(), 0u);
}

TEST_F(GameFieldToolsTest, TheLevelEndPaysTheColumnsOfTheWorkingBirds) {
    field_->SetupLevel();
    field_->GetTilesField()->FinishAppear();
    // A perched bird over column 3, whose top cell is empty above a ball.
    ASSERT_TRUE(Balls().IsCellEmpty(3));
    ASSERT_FALSE(Balls().IsCellEmpty(7));
    field_->GetBirds().CreateBirds({{3, CBirds::kPerched}}, false);
    ReachLevelEndStage();
    (*explosions_)->explosions.clear();
    field_->IsLevelComplete();
    CEndLevelStuff2& stuff = *field_->GetEndLevelStuff();
    ASSERT_TRUE(stuff.IsStarted());
    for (int tick = 0; tick < 20 && stuff.IsRunning(); ++tick) stuff.Update();
    field_->IsLevelComplete();
    EXPECT_EQ(field_->GetStage(), 3);
    ASSERT_EQ((*explosions_)->explosions.size(), 1u);
    EXPECT_EQ((*explosions_)->explosions[0].name, "column_blast");
    ASSERT_FALSE(praise_.popups.empty());
    EXPECT_EQ(praise_.popups.back().points, 10);
    EXPECT_EQ(praise_.popups.back().label, "Score_bonus");
    EXPECT_EQ(field_->GetBirds().GetBirds()[0].state, CBirds::kSentOff);
}

}  // namespace
