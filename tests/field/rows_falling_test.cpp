// The row-fall test on small fields drawn as text, one row per string:
//   .  empty active cell      #  cell outside the playing area
//   o  resting ball           L  locked ball
//   T  empty cell with a tile record where the flood starts
//   t  empty cell with a tile record    s  empty cell where the flood starts
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "balls_test_support.h"
#include "drawn_field.h"
#include "fake_bonus_data_source.h"
#include "field/compress_and_fall_balls.h"
#include "field/generators.h"
#include "field/rows_falling.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;

struct FakeTiles : IRowsFallingTiles {
    void GetFloodStartCells(std::vector<int>& cells) const override {
        cells.insert(cells.end(), starts.begin(), starts.end());
    }
    bool HasCell(int cell) const override { return records.count(cell) != 0; }

    std::vector<int> starts;
    std::set<int> records;
};

class RowsFallingTest : public BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        owner_.balls = balls_.get();
        rows_ = std::make_unique<CRowsFalling>(&planner_, balls_.get(), &tiles_);
    }
    void Field(const std::vector<std::string>& rows) {
        LoadLevel(TestLevelXml("", field_test::DrawnWidth(rows), field_test::DrawnHeight(rows)));
        owner_.inactive.clear();
        tiles_ = {};
        field_test::ForEachDrawnCell(rows, [this](int cell, char c) {
            if (c == '#') owner_.inactive.insert(cell);
            if (c == 'o') Put(cell, 1);
            if (c == 'L') Put(cell, 1).SetLock(1);
            if (c == 'T' || c == 't') tiles_.records.insert(cell);
            if (c == 'T' || c == 's') tiles_.starts.push_back(cell);
        });
        generators_.Load({});
    }

    field_test::FakeBonusDataSource owner_;
    CGenerators generators_ {&owner_};
    CCompressAndFallBalls planner_ {&owner_, &generators_};
    FakeTiles tiles_;
    std::unique_ptr<CRowsFalling> rows_;
};

TEST_F(RowsFallingTest, WhenARowMustFall) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        bool falls;
    };
    const Case cases[] = {
        {"an empty tile cell", {"..", "T."}, true},
        // The ball above settles onto the tile; the cell it leaves has none.
        {"a fall fills the tile cell", {"o.", "T."}, false},
        {"a tile cell reached by the flood", {"s.t", "..."}, true},
        {"an unreached tile cell", {"s#t", "###"}, false},
        // The flood from the row's last cell never goes on at the next row's
        // first cell.
        {"the flood does not wrap", {"#Ls", "tLL", "###"}, false},
        {"a lonely lock", {"...", ".L.", "..."}, true},
        {"a lonely lock among outside cells", {"#.#", "#L#", "###"}, true},
        {"a lock beside a ball", {"...", ".Lo", "..o"}, false},
        // Each lock's neighbours by position are empty; by index each would
        // touch the other.
        {"locks at a row's ends", {"..L", "L..", "..."}, true},
        {"nothing to fill", {"oo", "oo"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Field(c.rows);
        rows_->Reset();
        EXPECT_EQ(rows_->Test(), c.falls);
        EXPECT_EQ(rows_->IsFalling(), c.falls);
    }
}

TEST_F(RowsFallingTest, ARowFallsOnceAndAFailedTestChangesNothing) {
    Field({"oo", "oo"});
    rows_->SetValue(2);
    EXPECT_FALSE(rows_->Test());
    EXPECT_EQ(rows_->GetValue(), 2);
    EXPECT_FALSE(rows_->IsFalling());

    Field({"..", "T."});
    ASSERT_TRUE(rows_->Test());
    rows_->Advance();
    EXPECT_FALSE(rows_->IsFalling());
    rows_->Reset();
    EXPECT_EQ(rows_->GetValue(), 0);
}

}  // namespace
