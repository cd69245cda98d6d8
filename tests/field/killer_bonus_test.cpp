// The killer of the egg and the feather: its preferred kind, the egg without
// one, the feather's random fallback and the case where it finds no kind,
// and the balls that survive.
#include <gtest/gtest.h>

#include <memory>

#include "bonus_test_support.h"
#include "field/killer_bonus.h"

namespace {

using field_test::BonusTest;
using CellValue = field_test::FakeBonusDataSource::CellValue;

constexpr int kFragment = 21;

class KillerTest : public BonusTest {
protected:
    void SetUp() override {
        BonusTest::SetUp();
        data_.act_on_balls = true;
    }
};

TEST_F(KillerTest, EggRemovesEveryOrdinaryBallOfItsKindAndSparesLockedAndMovingOnes) {
    Put(Cell(0, 0), 2);
    Put(Cell(1, 1), 2);
    Put(Cell(2, 2), 2).SetLock(1);
    Put(Cell(3, 3), 2);
    balls_->SetBallState(Cell(3, 3), bsMOVE);
    Put(Cell(0, 4), 1);
    ASSERT_TRUE(list_.AddBonus(8, Cell(0, 4), false));
    EXPECT_EQ(sounds_->played, (std::vector<std::string> {"killer_sample", "egg_sample"}));
    Updates(1);
    EXPECT_EQ(data_.kills, (std::vector<CellValue> {{Cell(0, 0), bsDEAD}, {Cell(1, 1), bsDEAD}}));
    ASSERT_EQ(explosions_->explosions.size(), 2u);
    EXPECT_EQ(explosions_->explosions[1].name, "egg_fx");
    EXPECT_FLOAT_EQ(explosions_->explosions[1].x, 54);
    // The killed balls are gone from its targets at the next update: it ends.
    data_.flags.Set(CFieldFlags::ffCompressDue, 0);
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_EQ(data_.kills.size(), 2u);
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffCompressDue), 1);
    EXPECT_TRUE(balls_->IsCellLocked(Cell(2, 2)));
}

TEST_F(KillerTest, EggWithoutItsKindOnTheFieldOnlyPlaysItsSample) {
    Put(Cell(0, 0), 1);
    Put(Cell(1, 0), 3);
    ASSERT_TRUE(list_.AddBonus(8, Cell(0, 0), false));
    EXPECT_EQ(sounds_->played, (std::vector<std::string> {"killer_sample", "egg_sample"}));
    EXPECT_FALSE(list_.IsBonusActive(8));
    EXPECT_EQ(list_.GetCount(), 1u);
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_TRUE(data_.kills.empty());
}

TEST_F(KillerTest, FeatherTakesItsKindOrElseARandomAllowedOne) {
    // Kinds 2 and 9 are never drawn, nor bonus balls and fragments.
    const struct {
        std::vector<std::pair<int, int>> balls;  // cell, kind
        uint32_t draw;                           // the random index taken
        std::vector<int> killed;
    } cases[] = {
        // The preferred kind 3 is on the field.
        {{{0, 1}, {1, 3}, {2, 3}, {3, 4}}, 0, {1, 2}},
        // Without it: the allowed kinds in cell order are 1 and 4.
        {{{0, 2}, {1, 1}, {2, 9}, {3, 4}, {4, 11}, {5, kFragment}, {6, 1}}, 0, {1, 6}},
        {{{0, 2}, {1, 1}, {2, 9}, {3, 4}, {4, 11}, {5, kFragment}, {6, 1}}, 1, {3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "draw " << c.draw << ", first kill " << c.killed[0]);
        balls_->ClearCells();
        data_.kills.clear();
        for (const auto& [cell, kind] : c.balls) Put(cell, kind);
        auto feather = std::make_shared<CKillerBonus>(7, true);
        feather->SetDataSource(&data_);
        feather->SetRandom([&c](uint32_t, uint32_t) { return c.draw; });
        ASSERT_TRUE(feather->Activate(0));
        feather->Update();
        EXPECT_EQ(Cells(data_.kills), c.killed);
    }
}

TEST_F(KillerTest, FeatherFindingNoKindEndsLikeTheEggWithoutATarget) {
    Put(Cell(0, 0), 12);
    Put(Cell(1, 0), kFragment);
    Put(Cell(2, 0), 2);
    NewLog();
    ASSERT_TRUE(list_.AddBonus(7, Cell(0, 0), false));
    EXPECT_NE(NewLog().find("Assert failed: '!active_graph_type.empty()'"), std::string::npos);
    EXPECT_EQ(sounds_->played, (std::vector<std::string> {"killer_sample", "feather_sample"}));
    EXPECT_FALSE(list_.IsBonusActive(7));
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_TRUE(data_.kills.empty());
}

TEST_F(KillerTest, FeatherMayDrawAKindWhoseBallsAllSurvive) {
    Put(Cell(0, 0), 1).SetLock(2);
    Put(Cell(1, 0), 1);
    balls_->SetBallState(Cell(1, 0), bsMOVE);
    ASSERT_TRUE(list_.AddBonus(7, Cell(0, 0), false));
    EXPECT_TRUE(Get<CKillerBonus>().GetTargets().empty());
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_TRUE(data_.kills.empty());
}

}  // namespace
