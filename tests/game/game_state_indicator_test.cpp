// The heads-up value indicators on a game of our own: the lives and score
// looks that follow the highlight flag through the blink after a bonus life,
// render_when_zero, a lives bar from 0 to 3, the episode name as text, and
// duplicated states and unknown sources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_state_indicator.h"
#include "game/game_state_source.h"
#include "gui/menu_progress_bar.h"
#include "hud_test_support.h"

namespace {

struct FakeGame : IGameStateSource {
    int32_t score = 0, lives = 3, level = 0, episode = 0;
    std::string episode_name;
    bool blink = true;

    int32_t GetScore() const override { return score; }
    int32_t GetLives() const override { return lives; }
    int32_t GetLevelIndex() const override { return level; }
    int32_t GetEpisodeIndex() const override { return episode; }
    std::string GetEpisodeName() const override { return episode_name; }
    bool IsLivesBlink() const override { return blink; }
};

class GameStateIndicatorTest : public hud_test::HudTest {
protected:
    CGameStateIndicator Make(const std::string& xml) {
        CGameStateIndicator indicator;
        indicator.Load(Node(xml, "/Indicator"));
        return indicator;
    }
    void Draw(CGameStateIndicator& indicator) {
        Frame([&] { indicator.Render(&game); });
    }
    FakeGame game;
};

TEST_F(GameStateIndicatorTest, LivesBlinkAfterABonusLife) {
    CGameStateIndicator lives;
    lives.Load(Node("<Indicator src_id='VAL_LIVES'><State id='5' pos_x='10' pos_y='10'><Text label='Panel_LivesHi'/></State>"
                    "<State id='0' pos_x='10' pos_y='10'><Text label='Panel_Lives'/></State></Indicator>",
                    "/Indicator"));
    EXPECT_EQ(lives.GetCurrentStateId(), 0);  // the lowest id
    // The scene's frame counter runs from 500; a life is won at 500, so the
    // blink lasts until 650.
    const uint32_t won = 500, end = won + 150;
    std::vector<std::pair<int, int>> runs;  // (state, frames)
    for (uint32_t frame = won; frame < won + 160; ++frame) {
        game.blink = LivesBlinkAt(end, frame);
        lives.Render(&game);
        const int state = lives.GetCurrentStateId();
        if (runs.empty() || runs.back().first != state)
            runs.emplace_back(state, 1);
        else
            ++runs.back().second;
    }
    const std::vector<std::pair<int, int>> expected {{5, 1},  {0, 24}, {5, 26}, {0, 24},
                                                     {5, 26}, {0, 24}, {5, 25}, {0, 10}};
    EXPECT_EQ(runs, expected);
    // Outside any blink, and on frame 0, the flag stays set.
    EXPECT_TRUE(LivesBlinkAt(0, 7));
    EXPECT_TRUE(LivesBlinkAt(150, 0));
}

TEST_F(GameStateIndicatorTest, ScoreFollowsTheFlagOnlyWhenItHasTheState) {
    CGameStateIndicator score =
        Make("<Indicator src_id='VAL_SCORE'><State id='0'><Text label='Panel_Score'/></State>"
             "<State id='1'><Text label='Panel_ScoreHi'/></State></Indicator>");
    game.blink = false;
    score.Render(&game);
    EXPECT_EQ(score.GetCurrentStateId(), 1);
    // Level has one state: whatever the flag, it stays.
    CGameStateIndicator level = Make("<Indicator src_id='VAL_LEVEL'><State id='3'><Text label='Panel_Level'/></State></Indicator>");
    level.Render(&game);
    EXPECT_EQ(level.GetCurrentStateId(), 3);
    game.level = 4;
    level.Render(&game);
    EXPECT_EQ(std::get<int32_t>(level.GetState(3)->GetValue()), 5);
}

TEST_F(GameStateIndicatorTest, ZeroScoreDrawsNothingWhenTold) {
    CGameStateIndicator score = Make(
        "<Indicator src_id='VAL_SCORE'><State id='0' pos_x='400' pos_y='280' render_when_zero='0'>"
        "<Text label='Panel_Score'/></State></Indicator>");
    IndicatorState* state = score.GetState(0);
    Draw(score);
    EXPECT_FALSE(state->WasDrawn());
    auto px = FramePixels();
    int lit = 0;
    for (int y = 270; y < 330; ++y)
        for (int x = 300; x < 420; ++x) lit += (At(px, x, y) & 0xFFFFFF) != 0;
    EXPECT_EQ(lit, 0);

    game.score = 120;
    Draw(score);
    EXPECT_TRUE(state->WasDrawn());
    px = FramePixels();
    for (int y = 270; y < 330; ++y)
        for (int x = 300; x < 420; ++x) lit += (At(px, x, y) & 0xFFFFFF) != 0;
    EXPECT_GT(lit, 50);  // the digits, right-aligned on 400
}

TEST_F(GameStateIndicatorTest, LivesBarRunsFrom0To3AndEpisodeNameIsText) {
    CGameStateIndicator bar = Make(
        "<Indicator src_id='VAL_LIVES'><State id='0' pos_x='100' pos_y='100'>"
        "<ProgressBar dis_x='4' dis_y='2' kind='0' width='216' height='24'/></State></Indicator>");
    CMenuProgressBar* progress = bar.GetState(0)->GetProgressBar();
    ASSERT_NE(progress, nullptr);
    EXPECT_FLOAT_EQ(progress->GetX(), 104.0f);
    game.lives = 2;
    Draw(bar);
    EXPECT_EQ(progress->getMin(), 0);
    EXPECT_EQ(progress->getMax(), 3);
    EXPECT_EQ(progress->getValue(), 2);
    game.lives = 7;  // clamped by the bar
    Draw(bar);
    EXPECT_EQ(progress->getValue(), 3);

    CGameStateIndicator name =
        Make("<Indicator src_id='VAL_EPISODE_NAME'><State id='0'><Text label='Panel_EpisodeName'/></State></Indicator>");
    game.episode_name = "The Quiet Meadow";
    Draw(name);
    EXPECT_EQ(std::get<std::string>(name.GetState(0)->GetValue()), "The Quiet Meadow");
}

TEST_F(GameStateIndicatorTest, BadDataIsLoggedAndShowsZero) {
    CGameStateIndicator twice = Make(
        "<Indicator src_id='VAL_SCORE'><State id='2'/><State id='2'/><State id='4'/></Indicator>");
    EXPECT_EQ(twice.GetStateCount(), 2u);
    EXPECT_EQ(twice.GetCurrentStateId(), 2);
    EXPECT_NE(NewLog().find("state with id=2 already present"), std::string::npos);

    CGameStateIndicator unknown = Make("<Indicator src_id='VAL_WIND'><State id='0'><Text label='Panel_Custom'/></State></Indicator>");
    game.score = 9;
    for (int i = 0; i < 3; ++i) Draw(unknown);
    EXPECT_EQ(std::get<int32_t>(unknown.GetState(0)->GetValue()), 0);
    const std::string log = NewLog();
    const std::string warning = "Unknown game state 'VAL_WIND' requested!";
    ASSERT_NE(log.find(warning), std::string::npos);
    EXPECT_EQ(log.find(warning, log.find(warning) + 1), std::string::npos);  // once, not every frame

    CGameStateIndicator empty = Make("<Indicator src_id='VAL_SCORE'/>");
    EXPECT_NE(NewLog().find("!_states.empty()"), std::string::npos);
    Draw(empty);  // draws nothing
}

}  // namespace
