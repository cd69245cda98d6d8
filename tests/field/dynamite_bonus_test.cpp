// The dynamite's blast: the square it reaches, bonus balls in it, dying balls
// left alone, and the finishing blow ten ticks later.
#include <gtest/gtest.h>

#include "bonus_test_support.h"

namespace {

using field_test::BonusTest;
using CellValue = field_test::FakeBonusDataSource::CellValue;

TEST_F(BonusTest, DynamiteAtACornerHitsOnlyCellsOfTheField) {
    ASSERT_TRUE(list_.AddBonus(2, Cell(0, 0), false));
    // The centre is hit on its own, then the square (which lists the centre
    // before its row-order cells) is hit cell by cell.
    EXPECT_EQ(data_.hits, (std::vector<CellValue> {{Cell(0, 0), 3},
                                                   {Cell(0, 0), 3},
                                                   {Cell(0, 0), 3},
                                                   {Cell(1, 0), 3},
                                                   {Cell(0, 1), 3},
                                                   {Cell(1, 1), 3}}));
    ASSERT_EQ(explosions_->explosions.size(), 1u);
    EXPECT_EQ(explosions_->explosions[0].name, "dynamite_blast");
    EXPECT_FLOAT_EQ(explosions_->explosions[0].x, 18);
    EXPECT_FLOAT_EQ(explosions_->explosions[0].y, 18);
}

TEST_F(BonusTest, DynamiteSkipsInactiveCellsAndTheIntensiveSquareIsWider) {
    data_.inactive = {Cell(1, 1)};
    ASSERT_TRUE(list_.AddBonus(2, Cell(3, 4), true));
    std::vector<int> expected = {Cell(3, 4), Cell(3, 4)};
    for (int y = 2; y <= 4; ++y)
        for (int x = 1; x <= 3; ++x) expected.push_back(Cell(x, y));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Cells(data_.hits), expected);
    EXPECT_EQ(explosions_->explosions[0].name, "dynamite_big_blast");
}

TEST_F(BonusTest, DynamiteStartsBonusBallsAndSparesDyingOnes) {
    Put(Cell(1, 0), 11);  // a row burner ball
    Put(Cell(1, 1), 12);  // another dynamite
    Put(Cell(0, 1), 1);
    balls_->SetBallState(Cell(0, 1), bsDYING);
    ASSERT_TRUE(list_.AddBonus(2, Cell(0, 0), false));
    EXPECT_EQ(data_.bonuses, (std::vector<CellValue> {{1, Cell(1, 0)}, {2, Cell(1, 1)}}));
    EXPECT_EQ(Cells(data_.hits), (std::vector<int> {Cell(0, 0), Cell(0, 0), Cell(0, 0)}));
}

TEST_F(BonusTest, DynamiteKillsEveryDyingBallAfterTenUpdates) {
    Put(Cell(0, 0), 1);
    Put(Cell(3, 4), 2);
    Put(Cell(2, 2), 3);
    balls_->SetBallState(Cell(0, 0), bsDYING);
    balls_->SetBallState(Cell(3, 4), bsDYING);
    ASSERT_TRUE(list_.AddBonus(2, Cell(2, 0), false));
    data_.flags.Set(CFieldFlags::ffCompressDue, 0);
    Updates(9);
    EXPECT_TRUE(data_.kills.empty());
    EXPECT_TRUE(list_.IsBonusActive(2));
    Updates(1);
    EXPECT_EQ(data_.kills, (std::vector<CellValue> {{Cell(0, 0), bsDEAD}, {Cell(3, 4), bsDEAD}}));
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffCompressDue), 1);
}

}  // namespace
