// Bonus balls placed on their timers: exact periods, random lengths, two due
// with one candidate, and fields without candidates.
#include <gtest/gtest.h>

#include <string>

#include "balls_test_support.h"
#include "engine/random.h"
#include "field/level_limits.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;

class BonusBallsTest : public BallsFieldTest {
protected:
    // Fills every cell with palette balls.
    void Fill() {
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) Put(cell, 1 + cell % 3);
    }
    int CountType(int type) const {
        int n = 0;
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) n += TypeAt(cell) == type;
        return n;
    }
};

const char* const kOneBonus = R"(<Bonus graph_type="11" bonus_type="1" range_time="300" range_time_plus_minus="0"/>)";

TEST_F(BonusBallsTest, WithoutSpreadABonusBallAppearsEvery300Ticks) {
    LoadLevel(TestLevelXml("", 4, 5, kOneBonus));
    Fill();
    std::vector<int> placed_at;
    for (int tick = 1; tick <= 900; ++tick) {
        if (!balls_->PlaceBonusBalls()) continue;
        placed_at.push_back(tick);
        // The new bonus ball sits on an ordinary ball of the palette.
        for (int cell = 0; cell < 20; ++cell)
            if (TypeAt(cell) == 11) {
                const int prev = Ball(cell).GetPrevDesc().graph_type;
                EXPECT_TRUE(prev >= 1 && prev <= 3) << prev;
            }
    }
    EXPECT_EQ(placed_at, (std::vector<int> {300, 600, 900}));
    EXPECT_EQ(CountType(11), 3);
}

TEST_F(BonusBallsTest, LengthsLieWithinTheSpread) {
    BonusTimer timer;
    timer.range_time = 300;
    timer.range_plus_minus = 50;
    rt::srand(11);
    int low = 1000, high = 0;
    for (int i = 0; i < 500; ++i) {
        const int length = CBonusTimers::RandomLength(timer);
        low = std::min(low, length);
        high = std::max(high, length);
    }
    EXPECT_GE(low, 250);
    EXPECT_LT(high, 350);
    EXPECT_LT(low, 260);  // the whole range is used
    EXPECT_GT(high, 340);
    // A range reaching below 0 gives its absolute value.
    timer.range_time = -10;
    timer.range_plus_minus = 0;
    EXPECT_EQ(CBonusTimers::RandomLength(timer), 10);
}

// Two bonus types due in the same tick with one candidate: the lower bonus
// type's ball is placed, the other is lost until its timer runs out again.
TEST_F(BonusBallsTest, TwoDueWithOneCandidatePlacesTheLowerBonusType) {
    LoadLevel(TestLevelXml("", 4, 5,
                           R"(<Bonus graph_type="12" bonus_type="2" range_time="50" range_time_plus_minus="0"/>
                              <Bonus graph_type="11" bonus_type="1" range_time="50" range_time_plus_minus="0"/>)"));
    Put(Cell(2, 3), 2);
    Put(Cell(0, 0), 1).SetLock(1);  // locked, bonus and fragment balls are no candidates
    Put(Cell(1, 0), 12);
    Put(Cell(2, 0), 21);
    for (int i = 0; i < 49; ++i) EXPECT_FALSE(balls_->PlaceBonusBalls());
    EXPECT_TRUE(balls_->PlaceBonusBalls());
    EXPECT_EQ(TypeAt(Cell(2, 3)), 11);
    EXPECT_EQ(TypeAt(Cell(0, 0)), 1);
    EXPECT_EQ(TypeAt(Cell(2, 0)), 21);
    // Both timers were re-armed.
    EXPECT_EQ(balls_->GetBonusTimers().Find(1)->countdown.GetCurrent(), 50u);
    EXPECT_EQ(balls_->GetBonusTimers().Find(2)->countdown.GetCurrent(), 50u);
}

TEST_F(BonusBallsTest, NoCandidateNoBonusBallAndTheTimersRunAgain) {
    LoadLevel(TestLevelXml("", 4, 5, kOneBonus));
    Put(Cell(0, 0), 1).SetLock(2);
    Put(Cell(1, 0), 11);
    Put(Cell(2, 0), 21);
    Put(Cell(3, 0), 2);
    balls_->SetBallState(Cell(3, 0), bsDYING);
    for (int i = 0; i < 300; ++i) EXPECT_FALSE(balls_->PlaceBonusBalls());
    EXPECT_EQ(balls_->GetBonusTimers().Find(1)->countdown.GetCurrent(), 300u);
    EXPECT_EQ(TypeAt(Cell(0, 0)), 1);

    // A level without bonus types never places one.
    LoadLevel(TestLevelXml("", 4, 5, ""));
    Fill();
    EXPECT_TRUE(balls_->GetBonusTimers().IsEmpty());
    for (int i = 0; i < 1000; ++i) ASSERT_FALSE(balls_->PlaceBonusBalls());
}

// The timer draws from [time - spread, time + spread): values that would
// overflow there, or a negative spread, are held to 0..the limit as they are
// read, and every drawn length is a count of frames.
TEST_F(BonusBallsTest, TimersBeyondTheirRangeAreHeldToIt) {
    LoadLevel(TestLevelXml("", 4, 5,
                           R"(<Bonus graph_type="11" bonus_type="1" range_time="2000000000" range_time_plus_minus="1999999999"/>
                              <Bonus graph_type="12" bonus_type="2" range_time="300" range_time_plus_minus="-50"/>)"));
    const BonusTimer* huge = balls_->GetBonusTimers().Find(1);
    const BonusTimer* negative = balls_->GetBonusTimers().Find(2);
    ASSERT_TRUE(huge && negative);
    EXPECT_EQ(huge->range_time, level_limits::kMaxBonusTime);
    EXPECT_EQ(huge->range_plus_minus, level_limits::kMaxBonusTime);
    EXPECT_EQ(negative->range_time, 300);
    EXPECT_EQ(negative->range_plus_minus, 0);
    for (int i = 0; i < 100; ++i) {
        const int length = CBonusTimers::RandomLength(*huge);
        EXPECT_GE(length, 0);
        EXPECT_LT(length, 2 * level_limits::kMaxBonusTime);
        EXPECT_EQ(CBonusTimers::RandomLength(*negative), 300);
    }
    const std::string log = NewLog();
    EXPECT_NE(log.find("the bonus 11 has range_time 2000000000, not 0 to 216000; 216000 is used."), std::string::npos)
        << log;
    EXPECT_NE(log.find("the bonus 12 has range_time_plus_minus -50"), std::string::npos) << log;
}

}  // namespace
