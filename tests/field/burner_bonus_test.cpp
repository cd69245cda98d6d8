// The burner's flames: the cells they burn, where they stop (the asymmetry at
// indestructible balls), bonus balls in their path, the directions of each
// type, and the dying balls finished off once the last flame has gone.
#include <gtest/gtest.h>

#include "bonus_test_support.h"
#include "field/burner_bonus.h"

namespace {

using field_test::BonusTest;
using CellValue = field_test::FakeBonusDataSource::CellValue;

constexpr int kFragment = 21;

TEST_F(BonusTest, BurnerFlameMovingRightStopsBeforeAFragmentAndOneMovingLeftHitsIt) {
    Put(Cell(0, 1), kFragment);
    Put(Cell(3, 1), kFragment);
    Put(Cell(2, 1), 1);
    ASSERT_TRUE(list_.AddBonus(1, Cell(1, 1), false));
    CBurnerBonus& burner = Get<CBurnerBonus>();
    ASSERT_EQ(burner.GetFlames().size(), 2u);
    EXPECT_EQ(sounds_->played, std::vector<std::string> {"burner_sample"});

    // The left flame enters the fragment's cell with its leading edge, hits
    // it and dies there in the first tick.
    Updates(1);
    ASSERT_EQ(burner.GetFlames().size(), 1u);
    EXPECT_FLOAT_EQ(burner.GetFlames()[0]->GetX(), 41);
    EXPECT_NE(std::find(data_.hits.begin(), data_.hits.end(), CellValue {Cell(0, 1), 3}), data_.hits.end());

    // The right flame burns its way to the cell before the other fragment:
    // its far edge reaches the fragment when its top-left enters column 2.
    Updates(6);
    EXPECT_TRUE(list_.IsBonusActive(1));
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_EQ(Cells(data_.hits), (std::vector<int> {Cell(0, 1), Cell(1, 1), Cell(1, 1), Cell(2, 1)}));
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffCompressDue), 1);
}

TEST_F(BonusTest, BurnerFlameStartsABonusBallInItsPathAndHitsIt) {
    Put(Cell(2, 3), 12);  // a dynamite ball
    ASSERT_TRUE(list_.AddBonus(4, Cell(2, 1), false));
    Updates(20);
    EXPECT_EQ(data_.bonuses, (std::vector<CellValue> {{2, Cell(2, 3)}}));
    EXPECT_NE(std::find(data_.hits.begin(), data_.hits.end(), CellValue {Cell(2, 3), 3}), data_.hits.end());
}

TEST_F(BonusTest, BurnerTypesSendTheirFlamesAlongTheirLines) {
    const struct {
        int type;
        bool intensive;
        std::vector<std::pair<float, float>> moves;  // each flame's step after one tick
    } cases[] = {
        {1, false, {{-5, 0}, {5, 0}}},
        {4, false, {{0, -5}, {0, 5}}},
        {4, true, {{-5, 0}, {5, 0}, {0, -5}, {0, 5}}},
        {1, true, {{-5, 0}, {5, 0}, {0, -5}, {0, 5}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << (c.intensive ? " intensive" : ""));
        list_.Clear();
        ASSERT_TRUE(list_.AddBonus(c.type, Cell(1, 2), c.intensive));
        Updates(1);
        const CBurnerBonus& burner = Get<CBurnerBonus>();
        ASSERT_EQ(burner.GetFlames().size(), c.moves.size());
        for (size_t i = 0; i < c.moves.size(); ++i) {
            EXPECT_FLOAT_EQ(burner.GetFlames()[i]->GetX(), 36 + c.moves[i].first);
            EXPECT_FLOAT_EQ(burner.GetFlames()[i]->GetY(), 72 + c.moves[i].second);
        }
    }
}

TEST_F(BonusTest, BurnerInTheFirstColumnLosesItsLeftFlameAtOnce) {
    ASSERT_TRUE(list_.AddBonus(1, Cell(0, 2), false));
    Updates(1);
    const CBurnerBonus& burner = Get<CBurnerBonus>();
    ASSERT_EQ(burner.GetFlames().size(), 1u);
    EXPECT_FLOAT_EQ(burner.GetFlames()[0]->GetX(), 5);
}

TEST_F(BonusTest, BurnerFinishesTheBallsItLeftDyingAndSparesInactiveCells) {
    data_.act_on_balls = true;
    data_.inactive = {Cell(3, 0)};
    for (int x = 0; x < 4; ++x) Put(Cell(x, 0), 1 + x % 3);
    ASSERT_TRUE(list_.AddBonus(1, Cell(1, 0), false));
    Updates(100);
    EXPECT_EQ(list_.GetCount(), 0u);
    // The inactive cell stops the right flame before it.
    EXPECT_EQ(Cells(data_.hits), (std::vector<int> {Cell(0, 0), Cell(1, 0), Cell(2, 0)}));
    EXPECT_EQ(Cells(data_.kills), (std::vector<int> {Cell(0, 0), Cell(1, 0), Cell(2, 0)}));
    for (const CellValue& kill : data_.kills) EXPECT_EQ(kill.value, bsDEAD);
    EXPECT_EQ(balls_->GetCellBallState(Cell(3, 0)), bsDEFAULT);
}

}  // namespace
