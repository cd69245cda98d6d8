// The game field's own bonus list on the shipped data: a bonus started
// through the field acts on the real balls, a bonus ball in a flame's path
// starts its bonus in the same list, and the level's teardown drops them all.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "balls_test_support.h"
#include "fake_game_scene_link.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/game_field.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"

namespace {

class FieldBonusListTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        scene_ = std::make_unique<field_test::FakeGameSceneLink>();
        explosions_ = std::make_unique<field_test::ScopedExplosionRecorder>();
        field_ = std::make_unique<CGameField>();
        std::ifstream in(std::string(VOVARO_SOURCE_DIR) + "/tests/field/levels/score_level.xml");
        std::stringstream level;
        level << in.rdbuf();
        ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(level.str(), "/Level")));
        field_test::PutLevelFragments(*field_->GetBallsField(), field_test::XmlNode(level.str(), "/Level"));
        field_->GetTilesField()->Build();
    }
    void TearDown() override {
        field_.reset();
        explosions_.reset();
        scene_.reset();
        ShippedDataTest::TearDown();
    }
    int State(int x, int y) { return field_->GetBallsField()->GetCellBallState(g_LevelCFG->PosToCell(x, y)); }

    std::unique_ptr<field_test::FakeGameSceneLink> scene_;
    std::unique_ptr<field_test::ScopedExplosionRecorder> explosions_;
    std::unique_ptr<CGameField> field_;
};

// The level: the bottom row holds three balls of kind 1 and a locked ball;
// a fragment stands at (3, 2). A dynamite ball goes to (1, 2).
TEST_F(FieldBonusListTest, ABurnerThroughTheFieldSetsOffADynamiteBallInItsPath) {
    CBallsField& balls = *field_->GetBallsField();
    balls.CreateBall(g_LevelCFG->PosToCell(1, 2), 12);
    balls.SetBallState(g_LevelCFG->PosToCell(1, 2), bsDEFAULT);
    field_->GetFieldFlags()->Set(CFieldFlags::ffCompressDue, 0);

    field_->AddBonus(1, g_LevelCFG->PosToCell(0, 2));
    CBonusList& list = field_->GetBonusList();
    ASSERT_TRUE(list.IsBonusActive(1));
    for (int tick = 0; tick < 8; ++tick) field_->GetBonusList().Update();
    // The flame reached the dynamite ball, which blew up the row below.
    EXPECT_TRUE(list.IsBonusActive(2));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(State(x, 3), bsDYING) << x;
    for (int tick = 0; tick < 10; ++tick) field_->GetBonusList().Update();
    EXPECT_EQ(list.GetCount(), 0u);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(State(x, 3), bsDEAD) << x;
    EXPECT_EQ(State(3, 2), bsDEFAULT);  // the fragment stopped the flame
    EXPECT_EQ(field_->GetFieldFlags()->Get(CFieldFlags::ffCompressDue), 1);
}

TEST_F(FieldBonusListTest, TheLevelsTeardownDropsTheRunningBonuses) {
    field_->AddBonus(3, g_LevelCFG->PosToCell(0, 0));
    field_->GetBonusList().AddBonus(6, g_LevelCFG->PosToCell(0, 0), false);
    EXPECT_EQ(field_->GetBonusList().GetCount(), 2u);
    field_->GetBonusList().Draw();
    field_->ClearLevel();
    EXPECT_EQ(field_->GetBonusList().GetCount(), 0u);
}

TEST_F(FieldBonusListTest, TheFieldsUpdateRunsItsBonuses) {
    field_->AddBonus(2, g_LevelCFG->PosToCell(1, 2));
    EXPECT_EQ(State(1, 3), bsDYING);
    for (int tick = 0; tick < 10 && field_->GetBonusList().GetCount() != 0; ++tick) field_->Update();
    EXPECT_EQ(field_->GetBonusList().GetCount(), 0u);
    EXPECT_NE(State(1, 3), bsDYING);
}

}  // namespace
