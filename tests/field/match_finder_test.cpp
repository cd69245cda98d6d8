// The match search on small fields drawn as text, one row per string:
//   1 2 3  a resting ball of that type     a b c  a locked ball of type 1, 2, 3
//   m      a moving ball of type 1         d      a dying ball of type 1
//   .      an empty cell
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "balls_test_support.h"
#include "drawn_field.h"
#include "field/ball_state.h"
#include "field/match_finder.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;
using Cells = std::vector<int>;

class MatchFinderTest : public BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        finder_ = std::make_unique<CMatchFinder>(balls_.get());
    }
    void Field(const std::vector<std::string>& rows) {
        LoadLevel(TestLevelXml("", field_test::DrawnWidth(rows), field_test::DrawnHeight(rows)));
        field_test::ForEachDrawnCell(rows, [this](int cell, char c) {
            if (c >= '1' && c <= '3') Put(cell, c - '0');
            if (c >= 'a' && c <= 'c') Put(cell, c - 'a' + 1).SetLock(1);
            if (c == 'm') Put(cell, 1).SetState(bsMOVE);
            if (c == 'd') Put(cell, 1).SetState(bsDYING);
        });
    }

    struct Result {
        Cells del, combo, m4, m5;
    };
    Result Find(int from = -1, int to = -1) {
        Result r {{99}, {99}, {99}, {99}};  // every list is cleared first
        finder_->FindMatches(r.del, from, to, &r.combo, &r.m4, &r.m5);
        return r;
    }

    std::unique_ptr<CMatchFinder> finder_;
};

TEST_F(MatchFinderTest, LinesCombosAndExtras) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        int from, to;  // -1, -1: the whole field
        Cells del, combo, m4, m5;
    };
    const Case cases[] = {
        {"line of three", {"111.", "...."}, -1, -1, {0, 1, 2}, {}, {}, {}},
        {"line at the swapped cell only", {"111.", "...."}, 1, 5, {0, 1, 2}, {}, {}, {}},
        // Walked from the bottom: the second cell walked is row r+2.
        {"vertical four", {"....", ".1..", ".1..", ".1..", ".1.."}, -1, -1, {5, 9, 13, 17}, {}, {13}, {}},
        // Walked from the right: the second cell walked is column c+3.
        {"horizontal five", {"11111.", "......"}, -1, -1, {0, 1, 2, 3, 4}, {}, {}, {3}},
        {"horizontal six", {"111111.", "......."}, -1, -1, {0, 1, 2, 3, 4, 5}, {}, {}, {3}},
        {"each line found once", {"111.", "....", "2222"}, -1, -1, {0, 1, 2, 8, 9, 10, 11}, {}, {10}, {}},
        // The corner is counted twice; the combo holds both arms, then it.
        {"L through the swapped cell", {"1..", "1..", "111"}, 6, -1, {0, 3, 6, 7, 8}, {7}, {}, {}},
        {"T through the swapped cell", {"111", ".1.", ".1."}, 1, -1, {0, 1, 2, 4, 7}, {7}, {}, {}},
        // The stem does not run through the swapped cell.
        {"T swapped at its end", {"111", ".1.", ".1."}, 0, -1, {0, 1, 2}, {}, {}, {}},
        {"T on the whole field", {"111", ".1.", ".1."}, -1, -1, {0, 1, 2, 4, 7}, {7}, {}, {}},
        {"side by side, two kinds", {"12", "12", "12"}, -1, -1, {0, 1, 2, 3, 4, 5}, {5}, {}, {}},
        {"side by side in rows", {"111.", "2222"}, -1, -1, {0, 1, 2, 4, 5, 6, 7}, {6}, {6}, {}},
        {"side by side, one kind", {"11", "11", "11"}, -1, -1, {0, 1, 2, 3, 4, 5}, {}, {}, {}},
        // Cells 2, 3, 4 follow each other but 4 starts the next row.
        {"no line across a row's end", {"..11", "1...", "...."}, -1, -1, {}, {}, {}, {}},
        // Cell 3's index neighbour +1 is cell 4, the next row's first.
        {"no combo across a row's end", {"...1", "2..1", "2..1", "2..."}, -1, -1, {3, 4, 7, 8, 11, 12}, {}, {}, {}},
        {"a moving ball breaks a line", {"11m1", "...."}, -1, -1, {}, {}, {}, {}},
        {"a dying ball breaks a line", {"1d11", "...."}, -1, -1, {}, {}, {}, {}},
        {"a locked ball extends a line", {"1a1.", "...."}, -1, -1, {0, 1, 2}, {}, {}, {}},
        {"a locked ball starts a line", {"a11.", "...."}, -1, -1, {0, 1, 2}, {}, {}, {}},
        {"an empty swapped cell", {"111.", "...."}, 3, 7, {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Field(c.rows);
        const Result r = Find(c.from, c.to);
        EXPECT_EQ(r.del, c.del);
        EXPECT_EQ(r.combo, c.combo);
        EXPECT_EQ(r.m4, c.m4);
        EXPECT_EQ(r.m5, c.m5);
    }
}

TEST_F(MatchFinderTest, CombosKeepTheirWalkOrder) {
    Field({"1..", "1..", "111"});
    Cells del;
    finder_->FindMatches(del, 6, -1);
    ASSERT_EQ(finder_->GetCombos().size(), 1u);
    EXPECT_EQ(finder_->GetCombos()[0].index, (Cells {3, 0, 7, 8, 6}));
    EXPECT_EQ(finder_->GetCounters()[6], 2);

    Field({"12", "12", "12"});
    finder_->FindMatches(del, -1, -1);
    ASSERT_EQ(finder_->GetCombos().size(), 1u);
    EXPECT_EQ(finder_->GetCombos()[0].index, (Cells {2, 4, 3, 5, 0, 1}));
}

TEST_F(MatchFinderTest, MatchCellsNeedBothLists) {
    Field({"1111", "...."});
    Cells del, m4 {99};
    finder_->FindMatches(del, -1, -1, nullptr, &m4, nullptr);
    EXPECT_EQ(del, (Cells {0, 1, 2, 3}));
    EXPECT_TRUE(m4.empty());
}

}  // namespace
