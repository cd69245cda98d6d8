// The field's level life through its public operations, as the game scene
// drives it: loading and setting up a level, the updates that drop the first
// rows, the level's goal through the fragment to the level's end, the lost
// life, whole plays of small fixture levels, and a game saved in a cascade
// and resumed.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_temp.h"
#include "engine/random.h"
#include "engine/xml_file.h"
#include "graphics/texture_manager.h"
#include "field/birds.h"
#include "field/field_flags.h"
#include "field/field_state.h"
#include "field/glove.h"
#include "field/hint_info.h"
#include "field/move_record.h"
#include "field/praise.h"
#include "game_field_test_support.h"
#include "gui/gui_test_support.h"
#include "gui/sample_queue.h"

namespace {

using field_test::LevelPath;
using field_test::NextFrame;

class GameFieldUpdateTest : public field_test::GameFieldFixture {
protected:
    void SetUp() override {
        GameFieldFixture::SetUp();
        srand(7);
        SeedRandom(7);
        scene_->level = 1;
        CGlove::Instance().ResetArtefacts();
        CGlove::Instance().SetActiveArtefact(0);
        // The glove lives for the whole run and keeps its panel's textures.
        textures_before_ = CTextureManager::Instance().GetCount();
    }
    void TearDown() override {
        CGlove::Instance().ResetArtefacts();
        g_SampleQueue.Clear();
        GameFieldFixture::TearDown();
    }
    // One tick as the game scene runs it: the field (and the glove) step,
    // the mouse is polled, the field takes it and draws.
    void Tick() {
        NextFrame();
        field_->Update();
        CGlove::Instance().Update();
        CGlove::Instance().UpdateFlyingFragments();
        // Recorded effects never end by themselves: each lasts one frame.
        (*explosions_)->running.clear();
        gui_test::CoreDriver::Frame([&] {
            field_->Render();
            CGlove::Instance().RenderFlyingFragments();
        });
        if (scene_->state != gsLifeLost && scene_->state != gsNextLevel) field_->OnBallMove();
    }
    // Ticks until `done` holds; false when it never did.
    template <class Done>
    bool TickUntil(Done done, int limit = 3000) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Tick();
        }
        return done();
    }
    void Pointer(int cell, bool down) {
        const CVector2 c = Centre(cell);
        gui_test::CoreDriver::MoveTo(static_cast<int>(c.x), static_cast<int>(c.y));
        gui_test::CoreDriver::Button(down);
    }
    // The player drags the ball of `move.from` onto `move.to`.
    void Drag(const MoveRecord& move) {
        Pointer(move.from, true);
        Tick();
        Pointer(move.to, true);
        Tick();
        Pointer(move.to, false);
        Tick();
    }
    bool Idle() {
        return !field_->IsInputBlocked() && field_->GetSwapFlag() == CGameField::sbNone && Balls().NoPendingMoves() &&
               field_->GetFieldFlags()->Get(CFieldFlags::ffCompressDue) == 0;
    }
    // What the scene does at the level's end or a lost life: it freezes the
    // field and runs its closing steps.
    int RunEndSteps(int state) {
        field_->OnGameStateChanged(state);
        if (state == gsNextLevel)
            field_->QueueLevelEndSteps();
        else
            field_->QueueLifeLostSteps();
        int calls = 0;
        while (calls < 3000 && !field_->ProcessEndIteration()) {
            ++calls;
            Tick();
        }
        return calls;
    }
    // The level's first rows have landed.
    void StartLevel(const std::string& name) {
        ASSERT_TRUE(field_->LoadLevel(LevelPath(name), {}));
        ASSERT_TRUE(TickUntil([&] { return !field_->IsLevelStarting(); }));
    }
    int FragmentCell() {
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell)
            if (!Balls().IsCellEmpty(cell) && Balls().IsFragmentBall(cell)) return cell;
        return -1;
    }
    // A move that clears the fragment's way down when there is one, else the
    // first move found.
    MoveRecord ChooseMove(const std::vector<MoveRecord>& moves) {
        const int fragment = FragmentCell();
        if (fragment >= 0) {
            const int column = fragment % g_LevelCFG->GetFieldWidth();
            for (const MoveRecord& m : moves)
                if ((m.from % g_LevelCFG->GetFieldWidth() == column && m.from > fragment) ||
                    (m.to % g_LevelCFG->GetFieldWidth() == column && m.to > fragment))
                    return m;
        }
        return moves.front();
    }
};

TEST_F(GameFieldUpdateTest, AMissingOrBrokenLevelFileIsRefused) {
    EXPECT_FALSE(field_->LoadLevel(LevelPath("no_such_level.xml"), {}));
    const test_temp::TempDir dir("broken_level");
    const std::string broken = (dir / "level.xml").string();
    std::ofstream(broken) << "<Level><Config";
    EXPECT_FALSE(field_->LoadLevel(broken, {}));
    std::ofstream(broken) << "<NotALevel/>";
    EXPECT_FALSE(field_->LoadLevel(broken, {}));
    // A field the screen cannot show: refused before anything is built for it.
    std::ofstream(broken) << R"(<Level><Config><State/><Field field_width="46340" field_height="46340"/></Config></Level>)";
    const size_t mark = data_test::ReadLog().size();
    EXPECT_FALSE(field_->LoadLevel(broken, {}));
    EXPECT_NE(data_test::ReadLog().substr(mark).find("has no playable field"), std::string::npos);
}

// The score popups stay beside the scene's panel and below the level's
// progress bar (its frame's foot is at 36).
TEST_F(GameFieldUpdateTest, ThePopupsKeepClearOfThePanelAndTheBar) {
    field_->SetPraiseArea(CFloatRect(210, 0, 800, 600));
    ASSERT_TRUE(field_->LoadLevel(LevelPath("win_level.xml"), {}));
    EXPECT_EQ(field_->GetPraiseLabels().GetArea(), CFloatRect(210, 36, 800, 600));
}

TEST_F(GameFieldUpdateTest, SetUpDropsTheFirstRowsWithoutMatches) {
    bool background_asked = false;
    ASSERT_TRUE(field_->LoadLevel(LevelPath("win_level.xml"), [&](const CXMLNode&) { background_asked = true; }));
    EXPECT_TRUE(background_asked);
    EXPECT_TRUE(field_->IsLevelStarting());
    EXPECT_TRUE(field_->IsInputBlocked());
    EXPECT_EQ(field_->GetStage(), 0);
    EXPECT_EQ(field_->GetFieldState().GetTarget(), 3);
    ASSERT_TRUE(TickUntil([&] { return !field_->IsLevelStarting(); }));
    // The puzzle cells of the bottom row are covered; the prepared balls
    // never land beside one of their kind.
    for (int cell : {21, 22, 23}) EXPECT_FALSE(Balls().IsCellEmpty(cell)) << cell;
    std::vector<int> matched;
    field_->FindMatches(matched, -1, -1);
    EXPECT_TRUE(matched.empty());
    EXPECT_FALSE(field_->IsInputBlocked());
}

TEST_F(GameFieldUpdateTest, TheShippedFirstLevelStartsCovered) {
    ASSERT_TRUE(field_->LoadLevel("Levels\\Episode_0\\Level_0.xml", {}));
    ASSERT_TRUE(TickUntil([&] { return !field_->IsLevelStarting(); }));
    // The rows that the start prepared keep falling until no puzzle cell is
    // left bare.
    for (int i = 0; i < 600; ++i) Tick();
    int bare = 0, balls = 0;
    for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) {
        balls += !Balls().IsCellEmpty(cell);
        bare += field_->GetTilesField()->HasCell(cell) && Balls().IsCellEmpty(cell);
    }
    EXPECT_EQ(bare, 0);
    EXPECT_GT(balls, 0);
    EXPECT_NE(scene_->state, gsLifeLost);
}

// Every row the start prepared lands without a line, so nothing scores before
// the player's first move, whatever else draws from the generator meanwhile
// (the scene asks for its hints' targets every frame): a start fill that
// stopped after its first row left the later rows to chance.
TEST_F(GameFieldUpdateTest, TheShippedFirstLevelScoresNothingByItself) {
    for (uint32_t seed : {1u, 7u, 12345u}) {
        SCOPED_TRACE(seed);
        SeedRandom(seed);
        scene_->score = 0;
        scene_->scores.clear();
        scene_->level = 0;  // the episode's message shows first, as in the game
        ASSERT_TRUE(field_->LoadLevel("Levels\\Episode_0\\Level_0.xml", {}));
        ASSERT_TRUE(TickUntil([&] { return field_->NeedShowBeginEpisode(); }));
        field_->SetShowBeginEpisode(false);
        ASSERT_TRUE(TickUntil([&] { return !field_->IsLevelStarting(); }));
        // The scene asks for its hints' targets every frame.
        HintInfo hint;
        CVector2 at;
        for (int i = 0; i < 20; ++i) {
            field_->GetHintSource(hint, at);
            Tick();
        }
        ASSERT_TRUE(TickUntil([&] { return Idle(); }));
        std::vector<int> matched;
        field_->FindMatches(matched, -1, -1);
        EXPECT_TRUE(matched.empty());
        EXPECT_EQ(scene_->score, 0);
        int rows = 0;
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); cell += g_LevelCFG->GetFieldWidth())
            rows += !Balls().IsCellEmpty(cell + g_LevelCFG->GetFieldWidth() - 1);
        EXPECT_GE(rows, 4) << "the rows that cover the ring";
        field_->ClearLevel();
    }
}

TEST_F(GameFieldUpdateTest, TheFirstLevelOfAnEpisodeWaitsForItsMessage) {
    scene_->level = 0;
    ASSERT_TRUE(field_->LoadLevel(LevelPath("win_level.xml"), {}));
    EXPECT_FALSE(field_->NeedShowBeginEpisode());
    ASSERT_TRUE(TickUntil([&] { return field_->NeedShowBeginEpisode(); }));
    // The board waits while the scene shows the message.
    for (int i = 0; i < 30; ++i) Tick();
    EXPECT_TRUE(field_->IsLevelStarting());
    field_->SetShowBeginEpisode(false);
    EXPECT_FALSE(field_->NeedShowBeginEpisode());
    EXPECT_TRUE(TickUntil([&] { return !field_->IsLevelStarting(); }));
}

// Bonus balls come in play only: none while the level's first rows fall in,
// however short their timer.
TEST_F(GameFieldUpdateTest, BonusBallsAppearOnlyInPlay) {
    std::string level = field_test::ReadLevel("win_level.xml");
    level.replace(level.find("</Balls>"), 8,
                  R"(<Bonus graph_type="12" bonus_type="2" range_time="2" range_time_plus_minus="0"/></Balls>)");
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("bonus_level_" + std::to_string(getpid()) + ".xml");
    std::ofstream(path) << level;
    const bool loaded = field_->LoadLevel(path.string(), {});
    std::filesystem::remove(path);
    ASSERT_TRUE(loaded);
    const auto bonus_balls = [this] {
        int n = 0;
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell)
            n += !Balls().IsCellEmpty(cell) && Balls().GetBonusType(cell) != 0;
        return n;
    };
    int during_start = 0;
    ASSERT_TRUE(TickUntil([&] {
        during_start += bonus_balls();
        return !field_->IsLevelStarting();
    }));
    EXPECT_EQ(during_start, 0);
    EXPECT_TRUE(TickUntil([&] { return bonus_balls() > 0; }, 100));
}

TEST_F(GameFieldUpdateTest, AFieldWithoutMovesGetsTheMixer) {
    LoadBoard("still_level.xml");
    ASSERT_TRUE(TickUntil([&] { return !bonuses_.started.empty(); }, 200));
    EXPECT_EQ(bonuses_.started.front(), (field_test::FakeBonusList::Started {6, 0, false}));
    EXPECT_TRUE(field_->IsInputBlocked());
}

TEST_F(GameFieldUpdateTest, TheGoalLeadsThroughTheFragmentToTheLevelsEnd) {
    StartLevel("win_level.xml");
    scene_->available[1] = true;
    field_->TakeHammer();
    g_SampleQueue.Clear();
    field_->GetFieldState().Add(3);
    EXPECT_FALSE(field_->IsLevelComplete());
    EXPECT_EQ(field_->GetStage(), 1);
    EXPECT_EQ(field_->GetFragmentsFallen(), 1);
    EXPECT_EQ(g_SampleQueue.GetAliases().count("arte_appear"), 1u);
    const int fragment = FragmentCell();
    ASSERT_GE(fragment, 0);
    EXPECT_EQ(fragment / g_LevelCFG->GetFieldWidth(), 1);
    // It waits on the balls below it: they go, it falls, leaves the field
    // and the level's end begins.
    for (int row = 2; row < 5; ++row) field_->KillBall(row * 5 + fragment % 5, bsDEAD);
    ASSERT_TRUE(TickUntil([&] { return field_->GetStage() >= 2; }));
    EXPECT_EQ(FragmentCell(), -1);
    EXPECT_EQ(field_->GetFieldFlags()->Get(CFieldFlags::ffHammerTaken), 0);
    EXPECT_EQ(scene_->mood_switches, 1);
    // The birds are sent off; once they have gone the scene hears the end.
    ASSERT_TRUE(TickUntil([&] { return scene_->state == gsNextLevel; }));
    EXPECT_EQ(field_->GetStage(), 3);
    EXPECT_TRUE(field_->IsInputBlocked());
}

TEST_F(GameFieldUpdateTest, AFullArtefactTakesNoFragment) {
    StartLevel("win_level.xml");
    CGlove& glove = CGlove::Instance();
    const size_t cells = glove.GetDesc(0).cells.size();
    ASSERT_TRUE(glove.Deserialize(field_test::XmlNode("<S><Artefact active_artefact=\"0\" fragment=\"" +
                                                      std::to_string(cells) + "\" show=\"1\"/></S>")));
    ASSERT_EQ(glove.NextFragmentGraphType(), -1);
    field_->GetFieldState().Add(3);
    EXPECT_FALSE(field_->IsLevelComplete());
    EXPECT_EQ(field_->GetStage(), 1);
    EXPECT_EQ(field_->GetFragmentsFallen(), 0);
    EXPECT_EQ(FragmentCell(), -1);
    // No fragment waits: the level's end follows at once.
    EXPECT_FALSE(field_->IsLevelComplete());
    EXPECT_EQ(field_->GetStage(), 2);
}

TEST_F(GameFieldUpdateTest, APlayedLevelIsWon) {
    // The mixer that a field without moves gets is over at once.
    bonuses_.lasting = false;
    StartLevel("win_level.xml");
    std::vector<MoveRecord> moves;
    int swaps = 0;
    const bool won = TickUntil(
        [&] {
            if (scene_->state == gsNextLevel) return true;
            if (Idle() && field_->FindAvailableMoves(moves)) {
                Drag(ChooseMove(moves));
                ++swaps;
            }
            return false;
        },
        20000);
    ASSERT_TRUE(won) << swaps << " swaps, stage " << field_->GetStage();
    EXPECT_GT(swaps, 0);
    EXPECT_TRUE(field_->GetFieldState().IsComplete());
    EXPECT_GT(scene_->score, 0);
    EXPECT_EQ(CGlove::Instance().GetPlacedCount(0), 1);
    // The scene's closing steps: the balls explode, the board fades out.
    EXPECT_GE(RunEndSteps(gsNextLevel), 8);
    EXPECT_TRUE(field_->IsFrozen());
    EXPECT_FALSE(field_->IsDissolving());
}

TEST_F(GameFieldUpdateTest, AnIdlePlayerLosesALife) {
    StartLevel("lose_level.xml");
    ASSERT_TRUE(TickUntil([&] { return scene_->state == gsLifeLost; }));
    // Told once, however long the scene takes to freeze the field.
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_EQ(std::count(scene_->states.begin(), scene_->states.end(), gsLifeLost), 1);
    EXPECT_EQ(bonuses_.clears, 1);
    for (const Bird& bird : field_->GetBirds().GetBirds()) EXPECT_EQ(bird.state, CBirds::kTrapped);
    RunEndSteps(gsLifeLost);
    // The scene restarts the level: a fresh board whose first row waits 9
    // frames.
    scene_->state = gsDefault;
    field_->RestartLevel();
    EXPECT_FALSE(field_->IsFrozen());
    EXPECT_TRUE(field_->IsLevelStarting());
    EXPECT_EQ(field_->GetRowsCountdown().GetCurrent(), 9u);
    EXPECT_EQ(field_->GetStage(), 0);
    for (const Bird& bird : field_->GetBirds().GetBirds()) EXPECT_EQ(bird.state, CBirds::kFlyIn);
}

}  // namespace


// A game paused and saved at any frame of a swap and the cascade it starts
// (the swap under way, its line dying, the balls above falling under the
// pause into a line that stands unresolved, that line dying) and restored
// into a fresh field scores nothing while the field is held frozen, and ends
// with the score and the board of the game that was resumed without a save.
// A refused swap saved on its way back goes back as well.
TEST_F(GameFieldUpdateTest, AGameSavedInACascadeResumesItAsItWas) {
    // The ball kinds, 0 for none.
    const auto board = [this] {
        std::vector<int> kinds;
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) kinds.push_back(TypeAt(cell));
        return kinds;
    };
    const auto fresh_level = [this] {
        field_ = std::make_unique<CGameField>();
        field_->SetPraise(&praise_);
        field_->SetToolCarriers(&carriers_);
        field_->SetBonusList(&bonuses_);
        scene_->score = 0;
        ASSERT_TRUE(field_->LoadLevel(LevelPath("cascade_level.xml"), {}));
    };
    const auto settle = [this] {
        for (int i = 0; i < 200; ++i) Tick();
    };
    struct Swap {
        int from, to, final_score;
    };
    // The 1 and the 3 of the third column make a line of four 1s (30 + 100),
    // then the falling row a column of three 3s (30); the two 3s on the left
    // of the second row make nothing and go back.
    for (const Swap& swap : {Swap {10, 14, 160}, Swap {4, 5, 0}}) {
        for (int frame = 0;; ++frame) {
            SCOPED_TRACE("swap " + std::to_string(swap.from) + "-" + std::to_string(swap.to) + ", frame " +
                         std::to_string(frame));
            fresh_level();
            ASSERT_TRUE(TickUntil([&] { return Idle(); }));
            Pointer(swap.from, true);
            Tick();
            Pointer(swap.to, true);
            Tick();
            Pointer(swap.to, false);
            for (int i = 0; i < frame; ++i) Tick();
            const bool idle = Idle();
            // The player pauses: the falls run on under the dialog, then the game is saved.
            field_->OnGameStateChanged(gsPause);
            for (int i = 0; i < 60; ++i) Tick();
            const int saved_score = scene_->score;
            CXMLFile document;
            ASSERT_TRUE(document.CreateRoot("Suspended"));
            CXMLNode root = document.SelectSingleNode("/Suspended");
            ASSERT_TRUE(field_->Serialize(document, root));
            // The game that goes on without the save.
            field_->OnGameStateChanged(gsDefault);
            settle();
            EXPECT_EQ(scene_->score, swap.final_score);
            const std::vector<int> uninterrupted = board();

            fresh_level();
            field_->SetFrozen(true);
            ASSERT_TRUE(field_->Deserialize(root));
            scene_->score = saved_score;
            for (int i = 0; i < 60; ++i) Tick();
            EXPECT_EQ(scene_->score, saved_score) << "scored while frozen";
            field_->OnGameStateChanged(gsDefault);
            settle();
            EXPECT_EQ(scene_->score, swap.final_score);
            EXPECT_EQ(board(), uninterrupted);
            if (idle) break;
        }
    }
}
