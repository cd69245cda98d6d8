// The puzzle layers' entrance, tick by tick, against a recording tiles
// source: the pause, the base fade ending opaque, the cells shown one per
// tick from the highest number and each faded in to 255, and the early end.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "field/tiles_appearer.h"
#include "field_test_support.h"

namespace {

// Answers HasCell for a fixed set of cells and records every call as text.
class RecordingTiles : public ITilesDataSource {
public:
    explicit RecordingTiles(std::set<int> cells) : cells(std::move(cells)) {}
    bool IsCellEmpty(int) const override { return false; }
    bool HasCell(int cell) const override { return cells.count(cell) != 0; }
    void SetAlpha(int alpha) override { calls.push_back("alpha " + std::to_string(alpha)); }
    void SetVisible(int cell, bool visible) override {
        calls.push_back((visible ? "show " : "hide ") + std::to_string(cell));
    }
    void SetCellAlpha(int cell, int alpha) override {
        calls.push_back("cell " + std::to_string(cell) + " " + std::to_string(alpha));
    }
    // The calls of one tick, forgotten afterwards.
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    std::set<int> cells;
    std::vector<std::string> calls;
};

class TilesAppearerTest : public ::testing::Test {
protected:
    void SetUp() override { globals_.LoadLevel(R"(<Level><Config field_width="3" field_height="3"/></Level>)"); }
    field_test::FieldGlobalsScope globals_;
};

using Calls = std::vector<std::string>;

TEST_F(TilesAppearerTest, TimelineWithThreeCells) {
    RecordingTiles tiles({1, 4, 7});
    CTilesAppearer appearer(&tiles);
    appearer.Start();
    EXPECT_EQ(tiles.Take(), (Calls {"hide 7", "hide 4", "hide 1", "alpha 0"}));
    EXPECT_TRUE(appearer.IsRunning());

    // 51 ticks of waiting.
    for (int tick = 0; tick < 51; ++tick) appearer.Update();
    EXPECT_TRUE(tiles.Take().empty());
    EXPECT_EQ(appearer.GetStage(), 1);

    // 51 ticks of the base fade, the last one landing on 255.
    Calls fade;
    for (int tick = 0; tick < 51; ++tick) appearer.Update();
    for (int alpha = 0; alpha < 250; alpha += 5) fade.push_back("alpha " + std::to_string(alpha));
    fade.push_back("alpha 255");
    EXPECT_EQ(tiles.Take(), fade);
    EXPECT_EQ(appearer.GetStage(), 2);

    // One more cell shown each tick, each cell's alpha stepping by 20.
    appearer.Update();
    EXPECT_EQ(tiles.Take(), (Calls {"show 7", "cell 7 0"}));
    appearer.Update();
    EXPECT_EQ(tiles.Take(), (Calls {"show 4", "cell 7 20", "cell 4 0"}));
    appearer.Update();
    EXPECT_EQ(tiles.Take(), (Calls {"show 1", "cell 7 40", "cell 4 20", "cell 1 0"}));

    // The last cell runs 20, ..., 240 and then 255 (260 clamped); the tick
    // after that ends the entrance.
    std::vector<int> last;
    int ticks = 0;
    while (appearer.IsRunning() && ticks < 100) {
        appearer.Update();
        ++ticks;
        for (const std::string& call : tiles.Take())
            if (call.rfind("cell 1 ", 0) == 0) last.push_back(std::stoi(call.substr(7)));
    }
    std::vector<int> expected;
    for (int alpha = 20; alpha <= 240; alpha += 20) expected.push_back(alpha);
    expected.push_back(255);
    EXPECT_EQ(last, expected);
    EXPECT_EQ(ticks, static_cast<int>(expected.size()) + 1);
    EXPECT_FALSE(appearer.IsRunning());
}

TEST_F(TilesAppearerTest, NoPuzzleCellsEndsWhenTheBaseIsIn) {
    RecordingTiles tiles({});
    CTilesAppearer appearer(&tiles);
    appearer.Start();
    int ticks = 0;
    while (appearer.IsRunning() && ticks < 500) {
        appearer.Update();
        ++ticks;
    }
    EXPECT_EQ(ticks, 51 + 51 + 1);
    EXPECT_EQ(tiles.calls.back(), "alpha 255");
}

TEST_F(TilesAppearerTest, FinishShowsEverythingOpaqueAndSkipsClearedCells) {
    RecordingTiles tiles({0, 8});
    CTilesAppearer appearer(&tiles);
    appearer.Start();
    for (int tick = 0; tick < 10; ++tick) appearer.Update();
    tiles.cells.erase(0);  // cleared during the entrance
    tiles.Take();
    appearer.Finish();
    EXPECT_EQ(tiles.Take(), (Calls {"alpha 255", "show 8", "cell 8 255"}));
    EXPECT_FALSE(appearer.IsRunning());
    appearer.Update();
    EXPECT_TRUE(tiles.calls.empty());
}

}  // namespace
