// The field's small helpers: the selected ball's sway, the danger warning's
// periods and the balls exploder that clears the board.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "balls_test_support.h"
#include "fake_bonus_data_source.h"
#include "fake_game_scene_link.h"
#include "field/ball_state.h"
#include "field/balls_exploder.h"
#include "field/danger_warning.h"
#include "field/graph_obj.h"
#include "field/selected_ball.h"
#include "graphics/object_2d.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;

class FieldHelpersTest : public BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        owner_.balls = balls_.get();
        LoadLevel(TestLevelXml());
    }
    float AngleOf(int cell) const { return Ball(cell).GetGraphObj()->GetSprite(0)->GetAngle(); }

    field_test::FakeBonusDataSource owner_;
};

TEST_F(FieldHelpersTest, TheSelectedBallSwaysEveryFourTicks) {
    Put(5, 1);
    CSelectedBall marker;
    marker.Set(&owner_, 5);
    std::vector<float> angles;
    for (int tick = 0; tick < 32; ++tick) {
        marker.Update();
        if (tick % 4 == 3) angles.push_back(AngleOf(5));
    }
    EXPECT_EQ(angles, (std::vector<float> {3, 6, 3, 0, -3, -6, -3, 0}));

    // A ball that stops being idle and free ends the sway.
    Ball(5).SetLock(1);
    marker.Update();
    EXPECT_FALSE(marker.IsActive());
    EXPECT_EQ(marker.GetCell(), -1);

    marker.Set(&owner_, -1);
    EXPECT_FALSE(marker.IsActive());
}

TEST(DangerWarningTest, PeriodsByLevel) {
    struct Case {
        int level;
        std::vector<int> warn_ticks;
    };
    // Each period ends with a warning; the next tick starts the next one.
    const Case cases[] = {
        {0, {1, 41, 42, 82, 83}},
        {1, {1, 61, 62}},
        {3, {1}},
        {4, {}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        field_test::FakeGameSceneLink scene;
        CDangerWarning warning;
        std::vector<int> ticks;
        for (int tick = 1; tick <= 100; ++tick) {
            const int before = scene.dangers;
            warning.Update(c.level);
            if (scene.dangers != before) ticks.push_back(tick);
        }
        EXPECT_EQ(ticks, c.warn_ticks);
    }
}

TEST(DangerWarningTest, ResetStartsAFreshPeriod) {
    field_test::FakeGameSceneLink scene;
    CDangerWarning warning;
    warning.Update(2);
    warning.Update(2);
    warning.Reset();
    EXPECT_FALSE(warning.IsActive());
    warning.Update(2);
    EXPECT_EQ(scene.dangers, 2);
    EXPECT_TRUE(warning.IsActive());
}

TEST_F(FieldHelpersTest, TheExploderKillsEveryBallOnceNoneIsBusy) {
    Put(0, 1);
    Put(6, 2);
    balls_->SetBallState(6, bsMOVE);
    CBallsExploder exploder(&owner_);
    exploder.Start();
    EXPECT_EQ(balls_->GetCellBallState(6), bsDEFAULT);
    ASSERT_TRUE(balls_->IsAnyBallBusy());  // scaling out
    EXPECT_FALSE(exploder.Finish());
    EXPECT_EQ(balls_->GetCellBallState(0), bsDEFAULT);
    for (int tick = 0; tick < 500 && balls_->IsAnyBallBusy(); ++tick) Tick();
    ASSERT_TRUE(exploder.Finish());
    for (int cell : {0, 6})
        EXPECT_TRUE(balls_->IsCellEmpty(cell) || balls_->GetCellBallState(cell) == bsDEAD) << cell;
}

}  // namespace
