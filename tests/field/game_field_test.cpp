// The game field on the shipped data with a small level of its own
// (levels/score_level.xml): match resolution, kills, scores and their
// popups, the end-of-iteration steps and freezing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "game_field_test_support.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/field_flags.h"
#include "field/field_state.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/level_cfg.h"
#include "field/level_limits.h"
#include "field/play_textures.h"
#include "field/tiles_field.h"
#include "graphics/texture_manager.h"

namespace {

using field_test::ReadLevel;

class GameFieldTest : public field_test::GameFieldFixture {
protected:
    void SetUp() override {
        GameFieldFixture::SetUp();
        field_->SetBonusList(nullptr);
        ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(ReadLevel("score_level.xml"), "/Level")));
        field_test::PutLevelFragments(Balls(), field_test::XmlNode(ReadLevel("score_level.xml"), "/Level"));
        field_->GetTilesField()->Build();
        field_->GetFieldState().Reset();
    }
    void ExpectPopup(size_t i, int cell, int points, const std::string& label, int flag) {
        ASSERT_LT(i, praise_.popups.size());
        const field_test::FakePraise::Popup& p = praise_.popups[i];
        EXPECT_EQ(CVector2(p.x, p.y), Centre(cell)) << i;
        EXPECT_EQ(p.points, points) << i;
        EXPECT_EQ(p.label, label) << i;
        EXPECT_EQ(p.flag, flag) << i;
    }
};

TEST_F(GameFieldTest, AMatchDiesWithOnePopupAndWearsTheTileDown) {
    ASSERT_EQ(field_->ResolveSwapMatches(-1, -1), 2);
    for (int cell : {12, 13, 14}) EXPECT_EQ(Balls().GetCellBallState(cell), bsDEAD) << cell;
    ASSERT_EQ(praise_.popups.size(), 1u);
    ExpectPopup(0, 13, 30, "Score_small", 0);
    EXPECT_EQ(scene_->score, 30);
    EXPECT_EQ(field_->GetLevelStatistics().score, 30);
    // The tile under the middle ball: the goal advances by one, not by points.
    EXPECT_EQ(field_->GetFieldState().GetValue(), 1);
    ASSERT_EQ((*explosions_)->explosions.size(), 3u);
    EXPECT_EQ((*explosions_)->explosions[0].name, "ball_burst");
    EXPECT_EQ((*explosions_)->explosions[1].name, "tile_burst");
    // Type 1 balls charge the hammer.
    EXPECT_EQ(carriers_.sent, (std::vector<std::pair<int, int>> {{1, 1}, {1, 1}, {1, 1}}));
}

// Without a bar point on the panel the credits still go out (to be applied
// at once), none is dropped.
TEST_F(GameFieldTest, ToolCreditsGoOutAlsoWithoutABarPoint) {
    scene_->progress_points = false;
    ASSERT_EQ(field_->ResolveSwapMatches(-1, -1), 2);
    EXPECT_EQ(carriers_.sent, (std::vector<std::pair<int, int>> {{1, 1}, {1, 1}, {1, 1}}));
}

TEST_F(GameFieldTest, ASwappedCellInTheMatchGivesOne) {
    EXPECT_EQ(field_->ResolveSwapMatches(14, 10), 1);
}

TEST_F(GameFieldTest, ExtrasPayTheirOwnPopups) {
    field_->DeleteMatchedCells({12, 13, 14}, {13}, {12}, {14});
    ASSERT_EQ(praise_.popups.size(), 4u);
    ExpectPopup(0, 13, 30, "Score_small", 0);
    ExpectPopup(1, 13, 300, "Score_combo", 1);
    ExpectPopup(2, 12, 100, "Match4_bonus", 1);
    ExpectPopup(3, 14, 250, "Match5_bonus", 1);
    EXPECT_EQ(scene_->score, 680);
}

TEST_F(GameFieldTest, KillsOfLockedFragmentAndDyingBalls) {
    // The locked ball loses its lock and keeps its cell; the tile under it
    // is not touched, the ball's explosion plays.
    field_->KillBall(15, bsDEAD);
    EXPECT_FALSE(Balls().IsCellEmpty(15));
    EXPECT_EQ(Balls().GetCellBallState(15), bsDEFAULT);
    EXPECT_FALSE(Balls().IsCellLocked(15));
    EXPECT_EQ(field_->GetFieldState().GetValue(), 0);
    ASSERT_EQ((*explosions_)->explosions.size(), 1u);
    EXPECT_EQ((*explosions_)->explosions[0].name, "ball_burst");
    // A fragment is never killed.
    field_->KillBall(11, bsDEAD);
    EXPECT_EQ(Balls().GetCellBallState(11), bsDEFAULT);
    // A dying ball explodes once.
    field_->KillBall(12, bsDYING);
    field_->KillBall(12, bsDEAD);
    EXPECT_EQ((*explosions_)->explosions.size(), 2u);
    // An empty cell is no error; a cell outside the field throws.
    field_->KillBall(0, bsDEAD);
    EXPECT_ANY_THROW(field_->KillBall(16, bsDEAD));
}

TEST_F(GameFieldTest, TheLifeLostQueueWaitsForCarriersAndBusyBalls) {
    EXPECT_TRUE(field_->ProcessEndIteration());
    field_->QueueLifeLostSteps();
    carriers_.idle = false;
    EXPECT_FALSE(field_->ProcessEndIteration());
    EXPECT_FALSE(field_->ProcessEndIteration());
    carriers_.idle = true;
    EXPECT_FALSE(field_->ProcessEndIteration());  // carriers done
    EXPECT_FALSE(field_->ProcessEndIteration());  // the balls scale out
    ASSERT_TRUE(Balls().IsAnyBallBusy());
    EXPECT_FALSE(field_->ProcessEndIteration());
    int ticks = 0;
    while (Balls().IsAnyBallBusy() && ticks++ < 500) Balls().Update();
    EXPECT_TRUE(field_->ProcessEndIteration());
}

TEST_F(GameFieldTest, TheLevelEndQueueFadesTheBoardOut) {
    field_->QueueLevelEndSteps();
    int calls = 1;
    while (!field_->ProcessEndIteration() && calls < 2000) {
        ++calls;
        Balls().Update();
        field_->GetTilesField()->Update();
        field_->GetBirds().Render();  // the birds fade as they are drawn
    }
    EXPECT_GE(calls, 8);
    EXPECT_LT(calls, 2000);
    EXPECT_FALSE(field_->IsDissolving());
}

TEST_F(GameFieldTest, FreezingSwitchesTheToolBlinks) {
    field_->SetFrozen(true);
    field_->SetFrozen(true);
    field_->SetFrozen(false);
    EXPECT_EQ(scene_->calls, (std::vector<std::string> {"EnableToolBlinks 0", "EnableToolBlinks 1"}));
    EXPECT_FALSE(field_->IsFrozen());
}

TEST_F(GameFieldTest, SceneStatesFreezeOrFadeTheBoard) {
    struct Case {
        int state;
        bool frozen;
        bool faded;
    };
    const Case cases[] = {
        {gsNextLevel, true, false}, {gsNextEpisode, true, false}, {gsGameOver, true, false},
        {gsLifeLost, true, false},  {gsHint, true, false},        {gsHelp, true, false},
        {gsPause, true, true},      {gsGameWon, false, false},    {0, false, false},
        {10, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        field_->OnGameStateChanged(gsDefault);
        while (field_->IsDissolving()) {
            Balls().Update();
            field_->GetTilesField()->Update();
            field_->GetBirds().Render();
        }
        field_->OnGameStateChanged(c.state);
        EXPECT_EQ(field_->IsFrozen(), c.frozen);
        EXPECT_EQ(field_->IsDissolving(), c.faded);
    }
}

// A taken hammer goes back to the panel whenever the board freezes (the
// pointer over a dialog or the menu is the normal one) and when the level is
// cleared.
TEST_F(GameFieldTest, AHeldHammerIsGivenBackWhenTheBoardFreezesOrTheLevelGoes) {
    scene_->available[1] = true;
    CFieldFlags& flags = *field_->GetFieldFlags();
    for (int state : {gsPause, gsHint, gsHelp, gsLifeLost, gsGameOver, gsNextLevel}) {
        SCOPED_TRACE(state);
        field_->OnGameStateChanged(gsDefault);
        scene_->state = gsDefault;
        field_->TakeHammer();
        ASSERT_EQ(flags.Get(CFieldFlags::ffHammerTaken), 1);
        scene_->calls.clear();
        scene_->state = state;
        field_->OnGameStateChanged(state);
        EXPECT_EQ(flags.Get(CFieldFlags::ffHammerTaken), 0);
        EXPECT_NE(std::find(scene_->calls.begin(), scene_->calls.end(), "ShowToolImage 1 1"), scene_->calls.end());
    }
    field_->OnGameStateChanged(gsDefault);
    scene_->state = gsDefault;
    field_->TakeHammer();
    field_->ClearLevel();
    EXPECT_EQ(flags.Get(CFieldFlags::ffHammerTaken), 0);
}

// Only the pause fades the board: once it has faded back in, a hint, the
// help or the restart after a lost life leaves it as it is.
TEST_F(GameFieldTest, TheBoardFadesBackOnceAfterThePause) {
    const auto settle = [this] {
        for (int tick = 0; tick < 500 && field_->IsDissolving(); ++tick) {
            Balls().Update();
            field_->GetTilesField()->Update();
            field_->GetBirds().Render();
        }
    };
    field_->OnGameStateChanged(gsPause);
    settle();
    field_->OnGameStateChanged(gsDefault);
    EXPECT_TRUE(field_->IsDissolving());
    settle();
    for (int state : {gsHint, gsHelp, gsLifeLost}) {
        SCOPED_TRACE(state);
        field_->OnGameStateChanged(state);
        field_->OnGameStateChanged(gsDefault);
        EXPECT_FALSE(field_->IsDissolving());
    }
}

// Bonus balls do not age under the pause, a hint or the help; other states
// that hold the board (a lost life) leave their clock running.
TEST_F(GameFieldTest, BonusBallsDoNotAgeUnderThePauseOrAHint) {
    Balls().CreateBall(5, 12);
    Balls().SetBallState(5, bsDEFAULT);
    const struct {
        int state;
        bool ages;
    } cases[] = {{gsDefault, true}, {gsPause, false}, {gsHint, false}, {gsHelp, false}, {gsLifeLost, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        field_->OnGameStateChanged(gsDefault);
        field_->OnGameStateChanged(c.state);
        const uint32_t before = Balls().GetBallAt(5)->GetExistenceTime();
        Balls().Update();
        Balls().Update();
        EXPECT_EQ(Balls().GetBallAt(5)->GetExistenceTime() - before, c.ages ? 2u : 0u);
    }
}

TEST_F(GameFieldTest, EachLostLifeDelaysTheRowsByAboutFivePercent) {
    struct Case {
        int rows_fall_delay;
        std::vector<int> delays;  // before any loss, then after each
    };
    // The level's generator has no delay: the base is rows_fall_delay.
    const Case cases[] = {{20, {20, 20, 21, 22}}, {100, {100, 104, 109, 114}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows_fall_delay);
        std::string level = ReadLevel("score_level.xml");
        level.replace(level.find("rows_to_fall_at_start"), 0,
                      "rows_fall_delay=\"" + std::to_string(c.rows_fall_delay) + "\" ");
        field_->ClearLevel();
        ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(level, "/Level")));
        std::vector<int> delays {field_->GetRowDelay()};
        for (int i = 0; i < 3; ++i) {
            field_->LoseLife();
            delays.push_back(field_->GetRowDelay());
        }
        EXPECT_EQ(delays, c.delays);
        EXPECT_EQ(scene_->state, gsLifeLost);
    }
}

// A row delay and an entry delay near the integer limit are held to their
// ranges as they are read, and however many lives are lost the delay only
// grows: it never wraps round to a row in every frame.
TEST_F(GameFieldTest, TheRowDelayNeverWrapsRound) {
    std::string level = ReadLevel("score_level.xml");
    level.replace(level.find("rows_to_fall_at_start"), 0, "rows_fall_delay=\"2147483000\" ");
    level.replace(level.find("type=\"GENERATOR\""), 0, "delay=\"2147483000\" ");
    field_->ClearLevel();
    ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(level, "/Level")));
    const int base = level_limits::kMaxRowsFallDelay + level_limits::kMaxGeneratorDelay;
    EXPECT_EQ(field_->GetRowDelay(), base);
    int last = base;
    for (int i = 0; i < 100000; ++i) {
        field_->LoseLife();
        const int delay = field_->GetRowDelay();
        ASSERT_GE(delay, last) << "after " << i + 1 << " lost lives";
        last = delay;
    }
    EXPECT_EQ(last, INT32_MAX);
    const std::string log = NewLog();
    EXPECT_NE(log.find("Error: the entry cell (3; 0) has the delay 2147483000, above 216000; 216000 is used."),
              std::string::npos)
        << log;
}

TEST_F(GameFieldTest, TheFragmentEntersBelowTheShallowestEntry) {
    struct Case {
        const char* name;
        std::string range;  // extra level attributes
        std::vector<int> generators;
        int entry;
    };
    // Below the entry row: columns 2 and 3 hold two balls, column 0 one,
    // column 1 none at row 1 (its ball at row 3 is not reached). Entries are
    // taken in level-file order.
    const Case cases[] = {
        {"the shorter column", "", {3, 0}, 4},
        {"a free cell wins", "", {0, 1}, 5},
        {"ties keep the earlier", "", {2, 3}, 6},
        {"outside the range", "fragment_fall_range_left=\"1\" fragment_fall_range_right=\"2\"", {0, 3}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string cells;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool entry = y == 0 && std::count(c.generators.begin(), c.generators.end(), x);
                cells += "<Cell x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"" +
                         (entry ? " type=\"GENERATOR\"" : "") + "><Group tile=\"1\"/></Cell>";
            }
        const std::string level =
            "<Level><Config field_pos_x=\"100\" field_pos_y=\"100\" " + c.range +
            "><State/><Balls><Ball graph_type=\"1\"/><Ball graph_type=\"2\"/></Balls>"
            "<Field field_width=\"4\" field_height=\"4\">" + cells +
            "</Field></Config><Balls>"
            "<Cell x=\"0\" y=\"1\"><Ball graph_type=\"1\"/></Cell>"
            "<Cell x=\"3\" y=\"1\"><Ball graph_type=\"2\"/></Cell><Cell x=\"3\" y=\"2\"><Ball graph_type=\"1\"/></Cell>"
            "<Cell x=\"1\" y=\"3\"><Ball graph_type=\"1\"/></Cell>"
            "<Cell x=\"2\" y=\"1\"><Ball graph_type=\"1\"/></Cell><Cell x=\"2\" y=\"2\"><Ball graph_type=\"2\"/></Cell>"
            "</Balls></Level>";
        field_->ClearLevel();
        ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(level, "/Level")));
        field_->GetTilesField()->Build();
        EXPECT_EQ(field_->FindFragmentEntryCell(), c.entry);
    }
}

}  // namespace

// The pictures that come and go during play are loaded with the level and
// held while the field lives: a bonus going off never reads its picture
// from disk in the middle of a frame.
TEST_F(GameFieldTest, TheLevelStartHoldsThePicturesShownDuringPlay) {
    const std::vector<std::string> names = FieldTextureNames();
    for (const char* shown : {"Textures\\Field\\bonus_balls.png", "Textures\\Field\\ball_substrates.png",
                              "Textures\\Bonus\\flame_left.png", "Textures\\Bonus\\flame_down.png",
                              "Textures\\Bonus\\lightning_bolt.png", "Textures\\Common\\available_move.tga"})
        EXPECT_NE(std::find(names.begin(), names.end(), shown), names.end()) << shown;
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << "each once";

    CTextureManager& store = CTextureManager::Instance();
    plat::RenderDevice* device = core_->GetGraphicsDevice()->GetDevice();
    auto holders = [&](const char* name) {
        CTexture* texture = store.GetTexture(device, name);
        const int count = texture->GetRefCount() - 1;
        store.ReleaseTexture(texture);
        return count;
    };
    EXPECT_EQ(holders("Textures\\Bonus\\lightning_bolt.png"), 0);
    ASSERT_TRUE(field_->LoadLevel("Levels\\Episode_0\\Level_0.xml", {}));
    EXPECT_EQ(holders("Textures\\Bonus\\lightning_bolt.png"), 1);
    EXPECT_EQ(holders("Textures\\Field\\bonus_balls.png"), 1);
    field_->ClearLevel();
    ASSERT_TRUE(field_->LoadLevel("Levels\\Episode_0\\Level_1.xml", {}));
    EXPECT_EQ(holders("Textures\\Bonus\\lightning_bolt.png"), 1) << "held once for the field's life";
}
