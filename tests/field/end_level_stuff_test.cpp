// The column bonus of a won level on the 4 x 5 test field: the walk down each
// listed column, its explosions two ticks apart, and the pay per column.
#include <gtest/gtest.h>

#include "balls_test_support.h"
#include "fake_bonus_data_source.h"
#include "field/end_level_stuff2.h"

namespace {

using field_test::XmlNode;

class EndLevelStuffTest : public field_test::BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        LoadLevel(field_test::TestLevelXml());
        data_.balls = balls_.get();
    }
    // Runs the walk to its end; the ticks it took.
    int Run(CEndLevelStuff2& stuff) {
        int ticks = 0;
        for (; stuff.IsRunning() && ticks < 1000; ++ticks) stuff.Update();
        return ticks;
    }

    field_test::ScopedExplosionRecorder explosions_;
    field_test::FakeBonusDataSource data_;
    CEndLevelStuff2 stuff_ {&data_, nullptr, XmlNode(R"(<EndLevelStuff expl="column_blast"/>)")};
};

TEST_F(EndLevelStuffTest, FiveEmptyCellsAboveTheBallsGiveFiveBlastsTwoTicksApartAndFiftyPoints) {
    // A 4 x 7 field: column 2 holds balls in rows 5 and 6 only.
    LoadLevel(field_test::TestLevelXml("", 4, 7));
    Put(Cell(2, 5), 1);
    Put(Cell(2, 6), 2);
    stuff_.Start({2});
    EXPECT_TRUE(stuff_.IsRunning());
    std::vector<int> blast_ticks;
    for (int tick = 0; tick < 40 && stuff_.IsRunning(); ++tick) {
        const size_t before = explosions_->explosions.size();
        stuff_.Update();
        if (explosions_->explosions.size() > before) blast_ticks.push_back(tick);
    }
    EXPECT_EQ(blast_ticks, (std::vector<int> {0, 2, 4, 6, 8}));
    EXPECT_FALSE(stuff_.IsRunning());
    EXPECT_TRUE(stuff_.IsFinished());
    ASSERT_EQ(data_.scores.size(), 1u);
    EXPECT_EQ(data_.scores[0].points, 50);
    EXPECT_EQ(data_.scores[0].label, "Score_bonus");
    // At the last blast: the centre of cell (2, 4).
    EXPECT_FLOAT_EQ(data_.scores[0].x, 2 * 36 + 18);
    EXPECT_FLOAT_EQ(data_.scores[0].y, 4 * 36 + 18);
    EXPECT_EQ(explosions_->explosions[0].name, "column_blast");
    EXPECT_EQ(sounds_->CountPlayed("lev_complete_bonus"), 1);
}

TEST_F(EndLevelStuffTest, ColumnCases) {
    struct Case {
        const char* what;
        std::vector<int> columns;
        std::set<int> inactive;
        int blasts;
        std::vector<int> points;
    };
    // Column 0 holds a ball at its top; column 1 is empty to the bottom;
    // column 3 has two empty cells above a ball.
    const Case cases[] = {
        {"no column", {}, {}, 0, {}},
        {"a ball at the top", {0}, {}, 0, {}},
        {"empty to the bottom", {1}, {}, 5, {50}},
        {"a column listed twice is paid twice", {3, 3}, {}, 4, {20, 20}},
        {"a cell outside the playing field takes a tick without a blast", {1}, {Cell(1, 0)}, 4, {40}},
        {"a column outside the field", {9}, {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadLevel(field_test::TestLevelXml());
        Put(Cell(0, 0), 1);
        Put(Cell(3, 2), 1);
        data_.scores.clear();
        data_.inactive = c.inactive;
        explosions_->explosions.clear();
        CEndLevelStuff2 stuff(&data_, nullptr, XmlNode(R"(<EndLevelStuff expl="column_blast"/>)"));
        stuff.Start(c.columns);
        EXPECT_EQ(stuff.IsRunning(), !c.columns.empty());
        Run(stuff);
        EXPECT_FALSE(stuff.IsRunning());
        EXPECT_EQ(static_cast<int>(explosions_->explosions.size()), c.blasts);
        std::vector<int> points;
        for (const auto& score : data_.scores) points.push_back(score.points);
        EXPECT_EQ(points, c.points);
    }
}

TEST_F(EndLevelStuffTest, ResetLeavesItIdleAndNotStarted) {
    stuff_.Start({1});
    stuff_.Update();
    stuff_.Reset();
    EXPECT_FALSE(stuff_.IsRunning());
    EXPECT_FALSE(stuff_.IsStarted());
    stuff_.Update();
    EXPECT_FALSE(stuff_.IsRunning());
    EXPECT_FALSE(stuff_.IsFinished());
}

}  // namespace
