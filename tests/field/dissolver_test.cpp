// The board's fades: value sequences, the ends of a run, and what each owner
// receives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data_test_support.h"
#include "field/balls_dissolver.h"
#include "field/birds_dissolver.h"
#include "field/tiles_dissolver.h"
#include "field_test_support.h"

namespace {

class AlphaRecorder : public IBallsDataSource, public IBirdsDataSource {
public:
    bool IsCellEmpty(int) const override { return true; }
    void SetAlpha(int alpha) override { values.push_back(alpha); }
    std::vector<int> values;
};

// Runs updates until the dissolver ends (at most `limit`); all values handed out.
std::vector<int> RunToEnd(CBaseDissolver& dissolver, AlphaRecorder& owner, int limit = 1000) {
    for (int i = 0; i < limit && dissolver.IsActive(); ++i) dissolver.Update();
    EXPECT_FALSE(dissolver.IsActive());
    return owner.values;
}

TEST(Dissolver, TenFramesOutAndIn) {
    AlphaRecorder owner;
    CBallsDissolver dissolver(&owner);
    EXPECT_FALSE(dissolver.IsActive());
    dissolver.DissolveOut(10);
    EXPECT_TRUE(dissolver.IsActive());
    EXPECT_EQ(RunToEnd(dissolver, owner), (std::vector<int> {255, 230, 205, 180, 155, 130, 105, 80, 55, 30, 0}));

    owner.values.clear();
    dissolver.DissolveIn(10);
    EXPECT_EQ(RunToEnd(dissolver, owner), (std::vector<int> {0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 255}));
    dissolver.Update();  // inactive: nothing more
    EXPECT_EQ(owner.values.size(), 11u);
}

TEST(Dissolver, RunEnds) {
    struct Case {
        int from, to, speed;
        std::vector<int> values;
    };
    const Case cases[] = {
        {100, 100, 10, {100, 100}},    // no distance: one value, the next update ends it
        {0, 255, 300, {0, 255}},       // a step past the distance ends at the first update
        {255, 0, 0, {0}},              // no speed: straight to the target
        {0, 255, -5, {255}},
    };
    for (const Case& c : cases) {
        AlphaRecorder owner;
        CBallsDissolver dissolver(&owner);
        dissolver.Start(c.from, c.to, c.speed);
        EXPECT_EQ(RunToEnd(dissolver, owner), c.values) << c.from << "->" << c.to << " by " << c.speed;
    }
}

TEST(Dissolver, FinishHandsOutTheTargetAlsoWhenIdle) {
    AlphaRecorder owner;
    CBirdsDissolver dissolver(&owner);
    dissolver.Finish();
    EXPECT_EQ(owner.values, std::vector<int> {0});
    dissolver.DissolveIn(10);
    dissolver.Update();
    dissolver.Finish();
    EXPECT_FALSE(dissolver.IsActive());
    EXPECT_EQ(owner.values, (std::vector<int> {0, 0, 25, 255}));
}

// Frames of 0 or less finish at once; frames above 255 still step by 1, so a
// dissolve always ends.
TEST(Dissolver, AnyFrameCountEnds) {
    for (int frames : {0, -4}) {
        AlphaRecorder owner;
        CBallsDissolver dissolver(&owner);
        dissolver.DissolveOut(frames);
        EXPECT_FALSE(dissolver.IsActive()) << frames;
        EXPECT_EQ(owner.values, std::vector<int> {0}) << frames;
        owner.values.clear();
        dissolver.DissolveIn(frames);
        EXPECT_EQ(owner.values, std::vector<int> {255}) << frames;
    }
    AlphaRecorder owner;
    CBallsDissolver dissolver(&owner);
    dissolver.DissolveOut(1000);
    const std::vector<int> values = RunToEnd(dissolver, owner);
    ASSERT_EQ(values.size(), 255u);  // 255, 254, ..., 2, then 1 snaps to 0
    EXPECT_EQ(values[1], 254);
    EXPECT_EQ(values.back(), 0);
}

class TilesOwner : public ITilesDataSource {
public:
    bool IsCellEmpty(int) const override { return false; }
    bool HasCell(int cell) const override { return cell == 1 || cell == 4; }
    void SetAlpha(int alpha) override { log.push_back("all=" + std::to_string(alpha)); }
    void SetVisible(int, bool) override {}
    void SetCellAlpha(int cell, int alpha) override {
        log.push_back(std::to_string(cell) + "=" + std::to_string(alpha));
    }
    std::vector<std::string> log;
};

// The tiles' fade reaches every puzzle cell of the level, then the base tiles.
TEST(Dissolver, TilesFadeEveryPuzzleCellThenTheBase) {
    data_test::PrepareLogOnce();
    field_test::FieldGlobalsScope globals;
    globals.LoadLevel(R"(<Level><Config field_width="3" field_height="2"/></Level>)");
    TilesOwner owner;
    CTilesDissolver dissolver(&owner);
    dissolver.DissolveOut(1);
    dissolver.Update();
    EXPECT_EQ(owner.log, (std::vector<std::string> {"1=255", "4=255", "all=255", "1=0", "4=0", "all=0"}));
}

}  // namespace
