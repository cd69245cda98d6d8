// Lightning: no target ends at once; targets on puzzle tiles first, at most
// max_kill in all, never a fragment; the bolt and the joint flash on their
// drawn timings, and a struck bonus ball starting its bonus at the flash's end.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "bonus_test_support.h"
#include "field/lightning_bonus.h"
#include "field/tiles_field.h"

namespace {

using field_test::BonusTest;
using CellValue = field_test::FakeBonusDataSource::CellValue;

constexpr int kFragment = 21;

class LightningTest : public BonusTest {
protected:
    void TearDown() override {
        data_.tiles = nullptr;
        tiles_.reset();
        BonusTest::TearDown();
    }
    // A lightning started at the cell whose draws give the lowest value of
    // each range (the first candidate), every draw recorded.
    std::shared_ptr<CLightningBonus> Start(int cell, bool intensive = false) {
        auto bonus = std::make_shared<CLightningBonus>();
        bonus->SetDataSource(&data_);
        bonus->SetIntensive(intensive);
        bonus->SetRandom([this](uint32_t lo, uint32_t hi) {
            draws_.emplace_back(lo, hi);
            return lo;
        });
        EXPECT_TRUE(bonus->Activate(cell));
        return bonus;
    }
    // Puzzle tiles (a base tile and one layer) on the cells.
    void PuzzleTiles(const std::vector<int>& cells) {
        data_test::WriteBytes("Settings/Bases/common.xml", "<Common><TilesFire><graphics texture=\"" + texture_ +
                                                               "\" width=\"36\" height=\"36\" tex_rect=\"0 0 8 8\"/>"
                                                               "</TilesFire></Common>");
        std::string base = "<Base>";
        for (int type : {1, 2})
            base += "<GraphObj graph_type=\"" + std::to_string(type) + "\"><State name=\"DEFAULT\"><Layer><graphics texture=\"" +
                    texture_ + "\" tex_rect=\"0 0 8 8\"/></Layer></State></GraphObj>";
        globals_->LoadTilesBase(base + "</Base>");
        std::string field = "<Config><Field>";
        for (int cell : cells)
            field += "<Cell x=\"" + std::to_string(cell % 4) + "\" y=\"" + std::to_string(cell / 4) +
                     "\"><Group tile=\"1\"/><Group tile=\"2\"/></Cell>";
        tiles_ = std::make_unique<CTilesField>();
        ASSERT_TRUE(tiles_->LoadConfig(field_test::XmlNode(field + "</Field></Config>")));
        tiles_->Build();
        data_.tiles = tiles_.get();
    }
    void Fill() {
        for (int cell = 0; cell < 20; ++cell) Put(cell, 1 + cell % 3);
    }
    static std::vector<int> TargetCells(const CLightningBonus& bonus) {
        std::vector<int> cells;
        for (const auto& target : bonus.GetTargets()) cells.push_back(target->GetCell());
        return cells;
    }

    std::unique_ptr<CTilesField> tiles_;
    std::vector<std::pair<uint32_t, uint32_t>> draws_;
};

TEST_F(LightningTest, WithoutAnotherIdleBallItEndsInItsFirstUpdate) {
    Put(Cell(1, 1), 1);
    Put(Cell(2, 2), kFragment);
    Put(Cell(3, 3), 2);
    balls_->SetBallState(Cell(3, 3), bsMOVE);
    data_.flags.Set(CFieldFlags::ffCompressDue, 0);
    auto bonus = Start(Cell(1, 1));
    EXPECT_EQ(data_.kills, (std::vector<CellValue> {{Cell(1, 1), bsDEAD}}));
    EXPECT_TRUE(bonus->GetTargets().empty());
    EXPECT_TRUE(data_.hits.empty());
    bonus->Update();
    EXPECT_FALSE(bonus->IsActive());
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffCompressDue), 1);
}

TEST_F(LightningTest, StrikesAPuzzleBallFirstAndAtMostMaxKillNeverAFragment) {
    Fill();
    Put(Cell(0, 1), kFragment);
    Put(Cell(1, 1), kFragment);
    PuzzleTiles({Cell(2, 3), Cell(3, 4)});
    auto bonus = Start(Cell(0, 0));
    // The first draw takes the first puzzle ball; the other puzzle ball joins
    // the plain ones after them.
    std::vector<int> expected = {Cell(2, 3)};
    for (int cell = 1; cell < 20 && expected.size() < 10; ++cell)
        if (cell != Cell(0, 1) && cell != Cell(1, 1) && cell != Cell(2, 3)) expected.push_back(cell);
    EXPECT_EQ(TargetCells(*bonus), expected);
    EXPECT_EQ(draws_.front(), (std::pair<uint32_t, uint32_t>(0, 1)));
    // Each target is hit as it is chosen; the ranges are drawn with both ends.
    EXPECT_EQ(Cells(data_.hits), [&] {
        std::sort(expected.begin(), expected.end());
        return expected;
    }());
    EXPECT_EQ(std::count(draws_.begin(), draws_.end(), std::pair<uint32_t, uint32_t>(2, 4)), 10);
    EXPECT_EQ(std::count(draws_.begin(), draws_.end(), std::pair<uint32_t, uint32_t>(3, 5)), 10);

    // The intensive counts: two puzzle balls of three.
    data_.hits.clear();
    auto intensive = Start(Cell(0, 0), true);
    EXPECT_EQ(TargetCells(*intensive), (std::vector<int> {Cell(2, 3), Cell(3, 4), Cell(1, 0)}));
}

TEST_F(LightningTest, WithTheProgramsGeneratorEveryTargetIsAnIdleMortalBall) {
    Fill();
    Put(Cell(2, 2), kFragment);
    PuzzleTiles({Cell(3, 1)});
    auto bonus = std::make_shared<CLightningBonus>();
    bonus->SetDataSource(&data_);
    ASSERT_TRUE(bonus->Activate(Cell(0, 0)));
    const std::vector<int> cells = TargetCells(*bonus);
    ASSERT_EQ(cells.size(), 10u);
    EXPECT_EQ(cells[0], Cell(3, 1));
    std::vector<int> sorted = cells;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    for (int cell : cells) {
        EXPECT_NE(cell, Cell(0, 0));
        EXPECT_NE(cell, Cell(2, 2));
    }
}

TEST_F(LightningTest, BoltThenJointOnTheirTimingsAndABonusBallStartsItsBonus) {
    Put(Cell(0, 0), 1);
    Put(Cell(2, 2), 12);  // a dynamite ball
    auto bonus = Start(Cell(0, 0));
    ASSERT_EQ(bonus->GetTargets().size(), 1u);
    const auto target = bonus->GetTargets()[0];
    // wait 2, offset 1, life 3: the bolt shows on ticks 2 to 4, the joint on
    // ticks 3 to 5; the ball dies when the joint ends.
    std::vector<std::pair<int, int>> phases;
    for (int tick = 1; tick <= 6; ++tick) {
        bonus->Update();
        phases.emplace_back(target->GetBoltPhase(), target->GetJointPhase());
    }
    EXPECT_EQ(phases, (std::vector<std::pair<int, int>> {{0, 0}, {1, 0}, {1, 1}, {1, 1}, {2, 1}, {2, 2}}));
    EXPECT_EQ(data_.bonuses, (std::vector<CellValue> {{2, Cell(2, 2)}}));
    EXPECT_EQ(data_.kills, (std::vector<CellValue> {{Cell(0, 0), bsDEAD}, {Cell(2, 2), bsDEAD}}));
    EXPECT_FALSE(bonus->IsActive());
}

}  // namespace
