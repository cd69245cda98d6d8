// The banners: the fade track and its length, the zoom that grows to the
// label's own height and holds, drawing only while shown (or with flag 8),
// the lives banner's two labels and the level-start banner's two lines.
#include <gtest/gtest.h>

#include "game/game_message.h"
#include "game/level_start_message.h"
#include "game/remains_lives_message.h"
#include "graphics/font_keeper.h"
#include "profiles/app_params.h"
#include "dialog_test_support.h"

using namespace game_test;

namespace {

class GameMessageTest : public DialogTest {
protected:
    // Quads the banner's Render drew, and its answer.
    unsigned RenderQuads(CGameMessage& m, bool* finished = nullptr) {
        core().ResetFrameStats();
        bool done = false;
        Frame([&] { done = m.Render(); });
        if (finished) *finished = done;
        return core().GetQuads();
    }
    static int Alpha(const CGameMessage& m) { return static_cast<int>(m.GetStyle().style.color >> 24); }
};

TEST_F(GameMessageTest, FadeTrackRisesHoldsAndFallsAndLastsItsLength) {
    CGameMessage m;
    m.Init();
    for (uint32_t duration : {0u, 3u}) {
        SCOPED_TRACE(duration);
        m.SetDuration(duration);
        m.Show("GameOver", CGameMessage::kFade);
        const std::vector<int32_t>& track = m.GetAlphaTrack();
        ASSERT_EQ(track.size(), 52u + duration);
        EXPECT_EQ(track[0], 0);
        EXPECT_EQ(track[25], 250);
        EXPECT_EQ(track[26], 255);
        EXPECT_EQ(track[25 + duration], duration ? 255 : 250);
        EXPECT_EQ(track.back(), 5);
        EXPECT_EQ(Alpha(m), 0);
        EXPECT_EQ(m.GetCurrentHeight(), CFontKeeper::Instance().GetLabel("GameOver").style.height);
        // Every update but the last advances; the last one hides the banner.
        int updates = 0;
        while (!m.Update()) {
            ++updates;
            EXPECT_EQ(Alpha(m), track[m.GetAlphaIndex()]);
        }
        EXPECT_EQ(updates + 1, 52 + static_cast<int>(duration));
        EXPECT_EQ(Alpha(m), 5);
        EXPECT_FALSE(m.IsShown());
    }
}

TEST_F(GameMessageTest, ZoomGrowsToTheLabelHeightThenHolds) {
    ASSERT_EQ(CFontKeeper::Instance().GetLabel("Score_small").style.height, 30.0f);
    CGameMessage m;
    m.Init();  // speed 3
    m.SetDuration(4);
    m.Show("Score_small", CGameMessage::kZoom);
    EXPECT_EQ(m.GetCurrentHeight(), 1.0f);
    EXPECT_EQ(m.GetStyle().style.height, 1.0f);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_FALSE(m.Update());
        EXPECT_EQ(m.GetCurrentHeight(), 1.0f + 3.0f * i);
    }
    EXPECT_FALSE(m.Update());
    EXPECT_EQ(m.GetCurrentHeight(), 30.0f);  // full after 10 updates, clamped
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(m.Update()) << "hold " << i;
    EXPECT_EQ(m.GetCurrentHeight(), 30.0f);
    EXPECT_TRUE(m.Update());
    EXPECT_FALSE(m.IsShown());
}

TEST_F(GameMessageTest, BothStepsRunAndTheBannerEndsWhenBothAreDone) {
    CGameMessage m;
    m.Init();
    m.SetDuration(0);
    m.SetSpeed(100.0f);  // full at the first update, then the fade decides
    m.Show("Score_small", CGameMessage::kFade | CGameMessage::kZoom);
    int updates = 1;
    while (!m.Update()) ++updates;
    EXPECT_EQ(updates, 52);
    EXPECT_EQ(m.GetCurrentHeight(), 30.0f);
}

TEST_F(GameMessageTest, HiddenBannerDrawsNothingUnlessFlagEight) {
    CGameMessage m;
    m.Init();
    bool finished = false;
    EXPECT_EQ(RenderQuads(m, &finished), 0u);
    EXPECT_TRUE(finished);

    m.Show("GameOver", CGameMessage::kFade);
    m.Update();  // alpha 10: drawn
    EXPECT_GT(RenderQuads(m, &finished), 0u);
    EXPECT_FALSE(finished);
    m.Hide();
    EXPECT_EQ(RenderQuads(m, &finished), 0u);
    EXPECT_TRUE(finished);

    // The lives banner keeps drawing at full height after it has finished.
    CRemainsLivesMessage lives;
    lives.Init();
    lives.SetDuration(0);
    lives.SetSpeed(60.0f);
    lives.Show(2, CVector2(500, 300));
    while (!lives.Update()) {}
    EXPECT_FALSE(lives.IsShown());
    EXPECT_GT(RenderQuads(lives, &finished), 0u);
    EXPECT_TRUE(finished);
    EXPECT_EQ(lives.GetCurrentHeight(), CFontKeeper::Instance().GetLabel("LivesLeft").style.height);
}

TEST_F(GameMessageTest, LivesBannerSaysLastLifeOrHowManyAreLeft) {
    struct Case {
        int lives;
        const char* alias;
    };
    for (const Case& c : {Case {1, "LastLive"}, Case {2, "LivesLeft"}, Case {0, "LivesLeft"}, Case {5, "LivesLeft"}}) {
        CRemainsLivesMessage m;
        m.Init();
        m.Show(c.lives, CVector2(400, 250));
        EXPECT_EQ(m.GetAlias(), c.alias) << c.lives;
        EXPECT_EQ(m.GetLives(), c.lives);
        EXPECT_EQ(m.GetFlags(), CGameMessage::kZoom | CGameMessage::kDrawHidden);
        EXPECT_TRUE(m.IsShown());
    }
}

// Where the banner's text lands: the bounding box of drawn pixels.
struct Box {
    int left = 800, top = 600, right = -1, bottom = -1;
};

TEST_F(GameMessageTest, LevelStartShowsNumberAndEpisodeNameFadingTogether) {
    CLevelStartMessage m;
    m.Init();
    const CVector2 at = m.GetPosition();
    EXPECT_EQ(at.x, 530.0f);  // "//GameCFG/StartLevelMessage"
    EXPECT_EQ(at.y, 270.0f);
    m.SetDuration(2);
    m.Show("StartingLevel", 3, "mission_1");
    EXPECT_EQ(m.GetFlags(), CGameMessage::kFade);
    EXPECT_EQ(m.GetNumber(), 3);
    for (int i = 0; i < 26; ++i) m.Update();  // fully in
    Frame([&] { m.Render(); });
    const auto px = Shown();
    Screenshot(px, "banner_level_start");
    Box box;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (IsDrawn(At(px, x, y))) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    // Both lines centred on the position, the second below the first.
    EXPECT_NEAR((box.left + box.right) / 2.0, at.x, 8);
    EXPECT_LT(box.top, at.y);
    EXPECT_GT(box.bottom, at.y + 24);
    // The name line takes the first line's colour (and fade).
    EXPECT_GT(Count(px, 0, static_cast<int>(at.y) + 16, 800, 600, IsGold), 100);
}

TEST_F(GameMessageTest, LevelStartWithoutItsConfigurationStandsAtTheGameScreensCentre) {
    std::filesystem::current_path(dir_);  // an empty folder: no "Settings\GameCFG.xml"
    CLevelStartMessage m;
    m.Init();
    EXPECT_EQ(m.GetPosition().x, static_cast<float>(g_AppParams.centre));
    EXPECT_EQ(m.GetPosition().y, 300.0f);
    EXPECT_NE(NewLog().find("Error: Failed to open XML file"), std::string::npos);
}

}  // namespace
