// The generator cells: loading, the open and feeding tests, and the free
// depth below them.
#include <gtest/gtest.h>

#include <vector>

#include "balls_test_support.h"
#include "fake_bonus_data_source.h"
#include "field/generators.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;

class GeneratorsTest : public BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        owner_.balls = balls_.get();
        LoadLevel(TestLevelXml("", 3, 8));
    }
    field_test::FakeBonusDataSource owner_;
    CGenerators generators_ {&owner_};
};

TEST_F(GeneratorsTest, WithoutGeneratorsNothingIsOpenOrFree) {
    EXPECT_EQ(generators_.Load({}), 0);
    EXPECT_FALSE(generators_.AreAllOpen());
    EXPECT_FALSE(generators_.AreAllOpenInMap(std::vector<int>(24, 1)));
    EXPECT_EQ(generators_.GetFreeDepth(false), 0);
    EXPECT_EQ(generators_.GetFreeDepth(true), 0);
    EXPECT_FALSE(generators_.IsAnyFeeding());
}

TEST_F(GeneratorsTest, ListsAndDelays) {
    EXPECT_EQ(generators_.Load({{Cell(0, 0), 3}, {Cell(2, 0), 0}, {Cell(1, 0), -1}}), 3);
    EXPECT_TRUE(generators_.IsGeneratorCell(Cell(2, 0)));
    EXPECT_FALSE(generators_.IsGeneratorCell(Cell(2, 1)));
    EXPECT_FALSE(generators_.IsGeneratorCell(99));
    EXPECT_NE(NewLog().find("Assert failed: 'g_LevelCFG->IsValidCell(cell_index)'"), std::string::npos);
    std::vector<int> cells = {42};
    generators_.GetAllCells(cells);
    EXPECT_EQ(cells, (std::vector<int> {42, 0, 2, 1}));
    cells.clear();
    generators_.GetCellsWithDelay(cells, 0);
    EXPECT_EQ(cells, (std::vector<int> {0, 2, 1}));
    cells.clear();
    generators_.GetCellsWithDelay(cells, 2);  // a negative delay counts as larger
    EXPECT_EQ(cells, (std::vector<int> {0, 1}));
}

TEST_F(GeneratorsTest, OpenWhenEveryGeneratorAndTheCellBelowAreEmpty) {
    // The generator on the bottom row has nothing below and is ignored.
    generators_.Load({{Cell(0, 0), 0}, {Cell(1, 7), 0}});
    Put(Cell(1, 7), 1);
    EXPECT_TRUE(generators_.AreAllOpen());
    Put(Cell(0, 1), 1);
    EXPECT_FALSE(generators_.AreAllOpen());

    std::vector<int> map(24, 1);
    map[Cell(0, 0)] = 2;
    map[Cell(1, 7)] = 3;
    EXPECT_TRUE(generators_.AreAllOpenInMap(map));
    map[Cell(0, 1)] = 3;
    EXPECT_FALSE(generators_.AreAllOpenInMap(map));

    generators_.Load({{Cell(1, 7), 0}});
    EXPECT_FALSE(generators_.AreAllOpen());
    EXPECT_FALSE(generators_.AreAllOpenInMap(map));
    EXPECT_EQ(generators_.GetFreeDepth(true), 0);
}

TEST_F(GeneratorsTest, FreeDepthCountsAtMostFiveCellsBelowAGenerator) {
    generators_.Load({{Cell(0, 0), 0}, {Cell(2, 0), 0}});
    EXPECT_EQ(generators_.GetFreeDepth(false), 5);  // 7 empty cells below
    for (int y = 1; y < 8; ++y) Put(Cell(0, y), 1);
    Put(Cell(2, 3), 1);
    Put(Cell(2, 6), 1);
    EXPECT_EQ(generators_.GetFreeDepth(false), 4);  // rows 1, 2, 4, 5 under column 2
    Put(Cell(2, 1), 1);
    Put(Cell(2, 2), 1);
    Put(Cell(2, 4), 1);
    Put(Cell(2, 5), 1);
    EXPECT_EQ(generators_.GetFreeDepth(false), 0);
    // A falling ball is room, and so is every cell while rows are queued.
    balls_->RemoveBall(Cell(0, 2));
    balls_->StartMoves({{Cell(0, 1), Cell(0, 2)}});
    EXPECT_EQ(generators_.GetFreeDepth(false), 2);
    EXPECT_EQ(generators_.GetFreeDepth(true), 5);
}

// A generator column is being fed while its cell or the cell below holds a
// falling ball.
TEST_F(GeneratorsTest, FeedingMeansAFallingBallAtTheGeneratorOrBelowIt) {
    generators_.Load({{Cell(1, 0), 0}});
    EXPECT_FALSE(generators_.IsAnyFeeding());
    Put(Cell(1, 0), 1);
    EXPECT_FALSE(generators_.IsAnyFeeding());
    balls_->StartMoves({{Cell(1, 0), Cell(1, 1)}});
    EXPECT_TRUE(generators_.IsAnyFeeding());
    Tick(12);
    EXPECT_FALSE(generators_.IsAnyFeeding());
    Put(Cell(1, 0), 2);
    balls_->StartMoves({{Cell(1, 0), Cell(2, 1)}});  // sliding away from the column
    EXPECT_FALSE(generators_.IsAnyFeeding());
    balls_->SetBallState(Cell(2, 1), bsDEFAULT);
    balls_->RemoveBall(Cell(1, 1));
    Put(Cell(1, 0), 3);
    balls_->SetBallState(Cell(1, 0), bsSWAP);
    EXPECT_FALSE(generators_.IsAnyFeeding());
}

}  // namespace
