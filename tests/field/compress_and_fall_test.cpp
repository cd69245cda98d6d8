// The fall planner on small maps drawn as text, one row per string:
//   .  empty active cell        #  cell outside the playing area
//   o  resting ball (type 1)    L  locked ball    F  fragment ball (type 21)
//   G  empty generator cell     g  generator cell with a ball
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "balls_test_support.h"
#include "engine/random.h"
#include "fake_bonus_data_source.h"
#include "field/compress_and_fall_balls.h"
#include "field/generators.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;
using Moves = std::vector<BallMove>;

class CompressAndFallTest : public BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        owner_.balls = balls_.get();
    }
    void Field(const std::vector<std::string>& rows) {
        const int width = static_cast<int>(rows[0].size());
        LoadLevel(TestLevelXml("", width, static_cast<int>(rows.size())));
        std::vector<GeneratorCell> generators;
        owner_.inactive.clear();
        for (int y = 0; y < static_cast<int>(rows.size()); ++y)
            for (int x = 0; x < width; ++x) {
                const int cell = Cell(x, y);
                switch (rows[static_cast<size_t>(y)][static_cast<size_t>(x)]) {
                    case '#': owner_.inactive.insert(cell); break;
                    case 'o': Put(cell, 1); break;
                    case 'L': Put(cell, 1).SetLock(1); break;
                    case 'F': Put(cell, 21); break;
                    case 'g': Put(cell, 1); [[fallthrough]];
                    case 'G': generators.push_back({cell, 0}); break;
                    default: break;
                }
            }
        generators_.Load(generators);
    }
    Moves Compress() {
        EXPECT_TRUE(balls_->NoPendingMoves());
        planner_.Compress();
        return balls_->GetPendingMoves();
    }
    std::vector<int> Map() {
        std::vector<int> map;
        planner_.BuildCellMap(map);
        return map;
    }

    field_test::FakeBonusDataSource owner_;
    CGenerators generators_ {&owner_};
    CCompressAndFallBalls planner_ {&owner_, &generators_};
};

TEST_F(CompressAndFallTest, TheMapTellsTheKindsOfCells) {
    Field({"#Gg",
           "oLF",
           "..."});
    Put(Cell(0, 2), 2);
    balls_->StartMoves({{Cell(0, 2), Cell(1, 2)}});
    balls_->SettleNewBalls();  // nothing new: no marks
    Ball(Cell(0, 1)).SetMark(true);
    Put(Cell(2, 2), 3);
    balls_->SetBallState(Cell(2, 2), bsDYING);
    EXPECT_EQ(Map(), (std::vector<int> {0, 2, 3, 3 | CCompressAndFallBalls::kMark, 5, 6, 1, 4, 5}));
}

TEST_F(CompressAndFallTest, OneCycleOnSmallMaps) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        Moves moves;
    };
    const Case cases[] = {
        // The whole stack moves by one cell, the bottom ball first.
        {"stack over a hole", {"o..", "o..", "o..", "..."}, {{6, 9}, {3, 6}, {0, 3}}},
        // A ball never falls through a locked one, but slides past it.
        {"slide past a lock", {"o..", "L..", "..."}, {{0, 4}}},
        {"fragment never slides", {"F..", "L..", "..."}, {}},
        {"fragment falls", {"F..", "...", "L.."}, {{0, 3}}},
        // Column 0 has no left side and the last column no right side: the
        // diagonals never wrap to the other end of a row.
        {"last column does not wrap", {"..o", ".LL", "..."}, {}},
        {"first column does not wrap", {"o..", "LL.", "LL."}, {}},
        // The diagonal is refused while a ball of its column is about to fall
        // into it.
        {"diagonal fed from above", {".o.", "o..", "L.."}, {{1, 4}}},
        {"nothing to fill", {"oo", "oL"}, {}},
        {"inactive cells stop a fall", {"o", "#", "."}, {}},
        {"generator cells feed", {"g.", "..", ".."}, {{0, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Field(c.rows);
        rt::srand(1);
        EXPECT_EQ(Compress(), c.moves);
    }
}

TEST_F(CompressAndFallTest, EqualDiagonalsAreAFairChoice) {
    int left = 0, right = 0;
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        Field({".o.", ".L.", "..."});
        rt::srand(seed);
        const Moves moves = Compress();
        ASSERT_EQ(moves.size(), 1u);
        left += moves[0].to == Cell(0, 1);
        right += moves[0].to == Cell(2, 1);
    }
    EXPECT_EQ(left + right, 100);
    EXPECT_GT(left, 30);
    EXPECT_GT(right, 30);
}

TEST_F(CompressAndFallTest, NoHoleNoCallAndALiveCycleIsAnimated) {
    Field({"oo", "oo"});
    EXPECT_FALSE(planner_.Compress());
    EXPECT_TRUE(balls_->NoPendingMoves());

    Field({"o.", "..", ".."});
    EXPECT_TRUE(planner_.Compress());
    EXPECT_EQ(balls_->GetCellBallState(Cell(0, 1)), bsMOVE);
    Tick(12);
    EXPECT_TRUE(balls_->NoPendingMoves());
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 1);
    EXPECT_TRUE(planner_.Compress());  // down again
    Tick(12);
    EXPECT_FALSE(planner_.Compress());
    EXPECT_EQ(TypeAt(Cell(0, 2)), 1);
}

// PlanAll settles a map: every falling ball reaches its place, a ball leaving
// a generator leaves kind 2 behind, and tags travel with their balls.
TEST_F(CompressAndFallTest, PlanAllSettlesTheMap) {
    Field({"Gg.o",
           "..o.",
           ".L..",
           "...."});
    std::vector<int> map = Map();
    rt::srand(2);
    EXPECT_TRUE(planner_.PlanStep(map, nullptr));
    EXPECT_EQ(map[Cell(1, 0)], CCompressAndFallBalls::kEmptyGenerator);
    EXPECT_EQ(map[Cell(1, 1)], CCompressAndFallBalls::kBall);
    planner_.PlanAll(map, nullptr);
    EXPECT_FALSE(planner_.PlanStep(map, nullptr));
    int balls = 0;
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y + 1 < 4; ++y) {
            const int kind = map[Cell(x, y)] & 0xFF;
            balls += kind == 3;
            if (kind == 3) {
                EXPECT_NE(map[Cell(x, y + 1)] & 0xFF, 1) << x << "," << y;
            }
        }
    for (int x = 0; x < 4; ++x) balls += (map[Cell(x, 3)] & 0xFF) == 3;
    EXPECT_EQ(balls, 3);

    // A tagged ball carries its tag down; moves into untagged cells leave the
    // list, so the step reports nothing left to carry.
    Field({"o", ".", "."});
    map = Map();
    std::vector<uint16_t> tags(3, 0);
    tags[0] = 0x0101;
    EXPECT_FALSE(planner_.PlanStep(map, &tags));
    EXPECT_EQ(tags, (std::vector<uint16_t> {0, 0x0101, 0}));
    EXPECT_EQ(map[1], CCompressAndFallBalls::kBall);
}

}  // namespace
