// The level's progress and its puzzle bar: completion, the bar's values and
// the completion blink (its changes, its sound, and no blink at all for a
// count of 0 or less), with the bar described in a small Common.xml.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "field/blinker.h"
#include "field/field_state.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"
#include "gui/menu_progress_bar.h"

namespace {

namespace fs = std::filesystem;

// The bar's description with the given Blink element (none when empty).
std::string Common(const std::string& blink) {
    return R"(<Common><VovaroProgressBar type="3" rect="310, 8, 750, 36" filling_speed="2">)" + blink +
           "</VovaroProgressBar></Common>";
}

class FieldStateTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        sounds_ = &field_test::InstallRecordingSoundKeeper();
        // The shipped bar kinds and their art, the description of the test's own.
        fs::current_path(VOVARO_DATA_DIR);
        CMenuProgressBar::LoadProgressBarKinds();
        fs::current_path(dir_);
        fs::create_directory_symlink(fs::path(VOVARO_DATA_DIR) / "Textures", "Textures");
    }
    void TearDown() override {
        state_.reset();
        CoreTest::TearDown();
    }
    CFieldState& Make(const std::string& common) {
        data_test::WriteBytes("Settings/Bases/Common.xml", common);
        state_ = std::make_unique<CFieldState>();
        state_->Reset();
        return *state_;
    }
    // Runs `ticks` updates; the ticks (from 1) on which the bar changed.
    std::vector<int> Changes(CFieldState& state, int ticks) {
        std::vector<int> changes;
        for (int tick = 1; tick <= ticks; ++tick) {
            const bool before = state.IsVisible();
            state.Update();
            if (state.IsVisible() != before) changes.push_back(tick);
        }
        return changes;
    }

    field_test::RecordingSoundKeeper* sounds_ = nullptr;
    std::unique_ptr<CFieldState> state_;
};

TEST_F(FieldStateTest, CompletionBlinksCountTimesEndingVisibleWithASoundEachReturn) {
    CFieldState& state = Make(Common(R"(<Blink count="2" delay="30" sound="bar_blink"/>)"));
    state.SetTarget(5);
    state.Add(3);
    EXPECT_FALSE(state.IsComplete());
    EXPECT_TRUE(Changes(state, 100).empty());
    state.Add(2);
    EXPECT_TRUE(state.IsComplete());

    // Hidden after 30 ticks, back after 60 with the sound, and again.
    std::vector<int> changes;
    std::vector<int> sounds;
    for (int tick = 1; tick <= 300; ++tick) {
        const bool before = state.IsVisible();
        state.Update();
        if (state.IsVisible() != before) changes.push_back(tick);
        if (sounds_->CountPlayed("bar_blink") > static_cast<int>(sounds.size())) sounds.push_back(tick);
    }
    EXPECT_EQ(changes, (std::vector<int> {30, 60, 90, 120}));
    EXPECT_EQ(sounds, (std::vector<int> {60, 120}));
    EXPECT_TRUE(state.IsVisible());
    EXPECT_FALSE(state.IsBlinking());

    // The next level starts afresh: a target of 0 is complete at once and
    // blinks from the first tick; a reset ends a blink half-way.
    state.Reset();
    EXPECT_EQ(state.GetValue(), 0);
    state.SetTarget(0);
    EXPECT_TRUE(state.IsComplete());
    state.Update();
    EXPECT_TRUE(state.IsBlinking());
    EXPECT_EQ(Changes(state, 29), (std::vector<int> {29}));
    EXPECT_FALSE(state.IsVisible());
    state.Reset();
    state.SetTarget(10);
    EXPECT_TRUE(state.IsVisible());
    EXPECT_TRUE(Changes(state, 200).empty());
}

// A count of 0 or less (or no Blink at all) is no blink: the bar stays, silent.
TEST_F(FieldStateTest, NoBlinkForACountOfZeroOrLess) {
    for (const char* blink : {R"(<Blink count="0" delay="30" sound="bar_blink"/>)",
                              R"(<Blink count="-2" delay="5" sound="bar_blink"/>)", ""}) {
        CFieldState& state = Make(Common(blink));
        state.SetTarget(1);
        state.Add(1);
        EXPECT_TRUE(Changes(state, 500).empty()) << blink;
        EXPECT_TRUE(state.IsVisible());
        EXPECT_FALSE(state.IsBlinking());
    }
    EXPECT_EQ(sounds_->CountPlayed("bar_blink"), 0);
}

TEST_F(FieldStateTest, TheBarFollowsTheProgress) {
    CFieldState& state = Make(Common(R"(<Blink count="1" delay="4"/>)"));
    CMenuProgressBar* bar = state.GetBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FLOAT_EQ(bar->GetX(), 310);
    EXPECT_FLOAT_EQ(bar->GetWidth(), 440);
    state.SetTarget(10);
    EXPECT_EQ(bar->getMax(), 10);
    state.Add(4);  // filling_speed 2: the bar runs toward the value as it is drawn
    EXPECT_EQ(bar->getTarget(), 4);
    EXPECT_EQ(bar->getValue(), 0);
    state.Render();
    EXPECT_EQ(bar->getValue(), 2);
    state.SetValue(7);  // a restored game: at once
    EXPECT_EQ(bar->getValue(), 7);
    state.Add(9);  // past the target: the value counts on, the bar stops full
    EXPECT_EQ(state.GetValue(), 16);
    EXPECT_EQ(bar->getTarget(), 10);

    // A restored game past its goal does not blink again.
    state.SkipBlink();
    EXPECT_TRUE(Changes(state, 50).empty());
    state.Render();
}

TEST_F(FieldStateTest, WithoutADescriptionThereIsNoBarAndTheDefaultBlink) {
    CFieldState& state = Make("<Common/>");
    EXPECT_EQ(state.GetBar(), nullptr);
    EXPECT_NE(NewLog().find("No VovaroProgressBar"), std::string::npos);
    state.SetTarget(1);
    state.Add(1);
    state.Render();
    EXPECT_EQ(Changes(state, 100), (std::vector<int> {30, 60}));

    // A kind outside the controls' table is logged and the bar takes kind 0.
    CFieldState& bad = Make(R"(<Common><VovaroProgressBar type="77" rect="0 0 10 10"/></Common>)");
    EXPECT_NE(bad.GetBar(), nullptr);
    EXPECT_NE(NewLog().find("Invalid progressbar kind!"), std::string::npos);

    // No file at all: logged, no bar, the level goes on.
    fs::remove("Settings/Bases/Common.xml");
    state_ = std::make_unique<CFieldState>();
    state_->Reset();
    EXPECT_EQ(state_->GetBar(), nullptr);
    EXPECT_NE(NewLog().find("progress bar could not be made"), std::string::npos);
}

// The blinker alone: the ticks on which it reports a change.
TEST(Blinker, ChangesByCountAndDelay) {
    struct Case {
        int count, delay;
        std::vector<int> changes;
    };
    const Case cases[] = {
        {2, 3, {3, 6, 9, 12}},
        {1, 0, {1, 2}},   // no delay: a change every tick
        {1, -5, {1, 2}},  // a negative delay counts as none, not as years
        {0, 10, {}},
        {-1, 10, {}},
    };
    for (const Case& c : cases) {
        CBlinker blinker;
        blinker.Start(c.count, c.delay);
        std::vector<int> changes;
        for (int tick = 1; tick <= 50; ++tick)
            if (blinker.Step()) changes.push_back(tick);
        EXPECT_EQ(changes, c.changes) << c.count << " x " << c.delay;
        EXPECT_FALSE(blinker.IsActive());
    }
}

}  // namespace
