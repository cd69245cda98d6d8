// The balls of dropped rows: where they may enter, prepared sequences, the
// special ball every n-th generation, their release, and prepared types that
// avoid their neighbours.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "balls_test_support.h"
#include "engine/random.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;

class NewBallsTest : public BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        LoadLevel(TestLevelXml());
    }
    // One generation into the top row's cells, which are emptied first.
    std::vector<DropCell> Generate(std::vector<DropCell> drops) {
        for (const DropCell& d : drops) balls_->RemoveBall(d.cell);
        balls_->GenerateBalls(drops);
        return drops;
    }
};

TEST_F(NewBallsTest, ADropCellWithoutRoomStaysInTheList) {
    Put(Cell(1, 1), 1);  // under the second drop cell
    std::vector<DropCell> drops = {{Cell(0, 0), 0}, {Cell(1, 0), 0}, {Cell(2, 0), 0}};
    EXPECT_FALSE(balls_->GenerateBalls(drops));
    EXPECT_EQ(drops, (std::vector<DropCell> {{Cell(1, 0), 0}}));
    EXPECT_EQ(balls_->GetCellBallState(Cell(0, 0)), bsNEW);
    EXPECT_EQ(balls_->GetCellBallState(Cell(2, 0)), bsNEW);
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(1, 0)));
    EXPECT_TRUE(balls_->CanDropInto(Cell(3, 4)));  // the bottom row: nothing below
    EXPECT_FALSE(balls_->CanDropInto(Cell(0, 0)));
    EXPECT_THROW(balls_->CanDropInto(20), std::exception);

    // The row is released: resting, marked; moves clear the marks of the
    // balls that do not move.
    balls_->SettleNewBalls();
    EXPECT_EQ(balls_->GetCellBallState(Cell(0, 0)), bsDEFAULT);
    EXPECT_TRUE(balls_->GetMark(Cell(0, 0)));
    EXPECT_TRUE(balls_->AllMovingBallsMarked());
    balls_->StartMoves({{Cell(0, 0), Cell(0, 1)}});
    EXPECT_TRUE(balls_->GetMark(Cell(0, 1)));
    EXPECT_FALSE(balls_->GetMark(Cell(2, 0)));
    EXPECT_TRUE(balls_->AllMovingBallsMarked());
}

TEST_F(NewBallsTest, TheSpecialTypeComesEveryStepGenerations) {
    struct Case {
        const char* step;
        std::vector<int> special_generations;
    };
    for (const Case& c : {Case {"3", {3, 6, 9}}, Case {"1", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                          Case {"0", {1, 2, 3, 4, 5, 6, 7, 8, 9}}, Case {"-2", {1, 2, 3, 4, 5, 6, 7, 8, 9}}}) {
        SCOPED_TRACE(c.step);
        LoadLevel(TestLevelXml().replace(TestLevelXml().find("field_pos_x"), 0,
                                         std::string("step_generate_special=\"") + c.step + "\" "));
        std::vector<int> special;
        for (int generation = 1; generation <= 9; ++generation) {
            Generate({{Cell(0, 0), DropCell::kSpecial}, {Cell(1, 0), DropCell::kOrdinary}});
            if (TypeAt(Cell(0, 0)) == 9) special.push_back(generation);
            EXPECT_NE(TypeAt(Cell(1, 0)), 9);
            EXPECT_NE(TypeAt(Cell(1, 0)), 0);
        }
        EXPECT_EQ(special, c.special_generations);
        EXPECT_EQ(balls_->GetGenerationCount(), 9u);
    }
}

// Prepared sequences feed the first generations in order; the drops examined
// count, filled or not; a short sequence is never read past its end.
TEST_F(NewBallsTest, PreparedSequencesFeedTheFirstGenerations) {
    // Cells 0..2 of the top row rest in generation 1 at places 0..2; cell 3 in
    // generation 2 at place 0. Nothing lies around them but what they choose.
    std::vector<uint16_t> map(20, 0);
    map[Cell(0, 4)] = 1 | (0 << 8);
    map[Cell(1, 4)] = 1 | (1 << 8);
    map[Cell(2, 4)] = 1 | (2 << 8);
    map[Cell(3, 2)] = 2 | (0 << 8);
    rt::srand(3);
    balls_->PrepareSequences(map, 2, 3);
    ASSERT_EQ(balls_->GetSequences().size(), 2u);
    const std::vector<int> first = balls_->GetSequences()[0];
    ASSERT_EQ(first.size(), 3u);
    EXPECT_NE(first[0], first[1]);  // neighbours differ
    EXPECT_NE(first[1], first[2]);
    EXPECT_EQ(balls_->GetSequences()[1][1], 0);  // not prepared

    Put(Cell(1, 1), 1);  // the second drop cannot be filled
    std::vector<DropCell> drops = {{Cell(0, 0), 0}, {Cell(1, 0), 0}, {Cell(2, 0), 0}};
    balls_->GenerateBalls(drops);
    EXPECT_EQ(TypeAt(Cell(0, 0)), first[0]);
    EXPECT_EQ(TypeAt(Cell(2, 0)), first[2]);
    ASSERT_EQ(balls_->GetSequences().size(), 1u);

    // The second sequence has one prepared entry and two unprepared ones:
    // four drops take that entry, then palette types for the unprepared
    // entries and for the drop past the sequence's end.
    const std::vector<int> second = balls_->GetSequences()[0];
    ASSERT_EQ(second.size(), 3u);
    EXPECT_NE(second[0], 0);
    EXPECT_EQ(second[1], 0);
    for (int x = 0; x < 4; ++x) balls_->RemoveBall(Cell(x, 0));
    balls_->RemoveBall(Cell(1, 1));
    std::vector<DropCell> four = {{Cell(0, 0), 0}, {Cell(1, 0), 0}, {Cell(2, 0), 0}, {Cell(3, 0), 0}};
    EXPECT_TRUE(balls_->GenerateBalls(four));
    EXPECT_EQ(TypeAt(Cell(0, 0)), second[0]);
    for (int x = 1; x < 4; ++x) {
        EXPECT_GE(TypeAt(Cell(x, 0)), 1);
        EXPECT_LE(TypeAt(Cell(x, 0)), 3);
    }
    EXPECT_TRUE(balls_->GetSequences().empty());
    balls_->PrepareSequences(map, 2, 3);
    balls_->ClearCells();
    EXPECT_TRUE(balls_->GetSequences().empty());

    // Entries out of the sequences' bounds are logged, not written.
    balls_->PrepareSequences({0, 3, static_cast<uint16_t>(1 | (5 << 8))}, 1, 2);
    EXPECT_NE(NewLog().find("past the sequences"), std::string::npos);
}

TEST_F(NewBallsTest, PickTypeExcludingAvoidsTheListedTypesWhenItCan) {
    rt::srand(5);
    std::set<int> any;
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(balls_->PickTypeExcluding({1, 2}), 3);
        any.insert(balls_->PickTypeExcluding({1, 2, 3}));
    }
    EXPECT_EQ(any, (std::set<int> {1, 2, 3}));
}

TEST_F(NewBallsTest, AnEmptyPaletteGeneratesNothing) {
    const std::string none = R"(<Level><Config field_width="4" field_height="5"><Balls/></Config></Level>)";
    LoadLevel(none);
    std::vector<DropCell> drops = {{Cell(0, 0), 0}, {Cell(1, 0), 1}};
    EXPECT_FALSE(balls_->GenerateBalls(drops));
    EXPECT_EQ(drops.size(), 2u);
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(0, 0)));
    EXPECT_EQ(balls_->GetGenerationCount(), 0u);
    EXPECT_EQ(balls_->PickTypeExcluding({}), 0);
    EXPECT_NE(NewLog().find("CBalls: No Balls"), std::string::npos);
}

}  // namespace
