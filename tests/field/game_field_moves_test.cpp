// The player's moves on a small board of known balls (levels/moves_level.xml):
//
//     0:1   1:2   2:3   3:.
//     4:2   5:1   6:3   7:1
//     8:3   9:3  10:1  11:2
//    12:1  13:B1 14:F  15:2L      B1 bonus ball of kind 1, F fragment, L locked
//
// the swap rules, the swap's animation with its check and its way back, the
// mouse (click and drag), the debug key and the hammer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_core.h"
#include "engine/game_clock.h"
#include "engine/xml_file.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/field_flags.h"
#include "field/field_state.h"
#include "field/game_cfg.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"
#include "game_field_test_support.h"
#include "gui/gui_test_support.h"
#include "gui/sample_queue.h"
#include "platform/system.h"
#include "profiles/app_params.h"

namespace {

using field_test::FakeBonusList;

class GameFieldMovesTest : public field_test::GameFieldFixture {
protected:
    void SetUp() override {
        GameFieldFixture::SetUp();
        LoadBoard("moves_level.xml");
        g_SampleQueue.Clear();
        sounds_ = &field_test::InstallRecordingSoundKeeper();
        // Double clicks are timed on game time here, moved by the test.
        CEngineCore::Instance().GetInputManager()->SetTickSource(&GameTimeMs);
    }
    void TearDown() override {
        CEngineCore::Instance().GetInputManager()->SetTickSource(&plat::GetTickCount);
        g_AppParams.keys = 0;
        g_SampleQueue.Clear();
        GameFieldFixture::TearDown();
    }
    bool Select(int cell) { return field_->SelectBallAt(Centre(cell).x, Centre(cell).y); }
    bool Swap(int cell) { return field_->TrySwap(Centre(cell).x, Centre(cell).y); }
    // Runs the swap's updates until it has come to rest.
    void RunSwap() {
        for (int i = 0; i < 200 && (field_->GetSwapFlag() != CGameField::sbNone); ++i) {
            Balls().Update();
            field_->UpdateMove();
        }
        // The check after the arrival, or the arrival of the way back.
        Balls().Update();
        field_->UpdateMove();
        for (int i = 0; i < 200 && (field_->GetSwapFlag() != CGameField::sbNone); ++i) {
            Balls().Update();
            field_->UpdateMove();
        }
    }
    // Starts a swap as a drag from `from` onto `to` would.
    void StartSwap(int from, int to) {
        ASSERT_TRUE(Select(from));
        ASSERT_TRUE(Swap(to));
    }
    // One frame of input with the pointer on the cell's centre.
    void Frame(int cell, bool left_down) {
        const CVector2 c = Centre(cell);
        gui_test::CoreDriver::MoveTo(static_cast<int>(c.x), static_cast<int>(c.y));
        gui_test::CoreDriver::Button(left_down);
        gui_test::CoreDriver::Frame();
        field_->OnBallMove();
    }
    int Played(const std::string& name) { return sounds_->CountPlayed(name); }

    field_test::RecordingSoundKeeper* sounds_ = nullptr;
};

TEST_F(GameFieldMovesTest, OnlyOrthogonalNeighboursSwap) {
    struct Case {
        const char* name;
        int from, to;
        bool empty_swap;
        bool swapped;
        int path_from;  // after the attempt
        int mismatches;
    };
    const Case cases[] = {
        {"right neighbour", 0, 1, false, true, 0, 0},
        {"lower neighbour", 0, 4, false, true, 0, 0},
        {"diagonal keeps the selection", 0, 5, false, false, 0, 0},
        {"two apart keeps the selection", 0, 2, false, false, 0, 0},
        {"the selected ball itself", 0, 0, false, false, -1, 0},
        {"a locked target plays mismatch", 11, 15, false, false, 11, 1},
        {"an empty target plays mismatch", 2, 3, false, false, 2, 1},
        {"an empty target with empty swaps on is refused", 2, 3, true, false, -1, 0},
        {"a fragment target", 10, 14, true, false, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBoard("moves_level.xml");
        g_GameCFG->LoadGameConfig(*field_test::ParseXml(c.empty_swap ? R"(<GameCFG enable_empty_swap="1"/>)"
                                                                      : R"(<GameCFG enable_empty_swap="0"/>)"));
        sounds_->Reset();
        ASSERT_TRUE(Select(c.from));
        EXPECT_EQ(Swap(c.to), c.swapped);
        EXPECT_EQ(field_->GetPath().GetFrom(), c.path_from);
        EXPECT_EQ(Played("mismatch"), c.mismatches);
        if (c.swapped) {
            EXPECT_EQ(Balls().GetCellBallState(c.from), bsSWAP);
            EXPECT_EQ(Balls().GetCellBallState(c.to), bsSWAP);
        }
    }
}

TEST_F(GameFieldMovesTest, LockedFragmentAndEmptyCellsCannotBeSelected) {
    struct Case {
        int cell;
        bool selected;
        int mismatches;
    };
    const Case cases[] = {{5, true, 0}, {15, false, 1}, {14, false, 1}, {3, false, 0}, {16, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        sounds_->Reset();
        g_SampleQueue.Clear();
        EXPECT_EQ(c.cell < 16 ? Select(c.cell) : field_->SelectBallAt(0, 0), c.selected);
        EXPECT_EQ(Played("mismatch"), c.mismatches);
        EXPECT_EQ(g_SampleQueue.GetAliases().count("ball_select"), c.selected ? 1u : 0u);
    }
}

struct SwapCase {
    const char* name;
    int from, to;
    int mismatches;
    std::vector<int> dead;           // cells whose balls die
    std::vector<std::pair<int, int>> types;  // (cell, graph type) afterwards
    std::vector<FakeBonusList::Started> bonuses;
};

TEST_F(GameFieldMovesTest, ADraggedSwapIsCheckedWhenItArrives) {
    const SwapCase cases[] = {
        // Its own balls make no line: "mismatch", and back to where they were.
        {"no match goes back", 0, 1, 1, {}, {{0, 1}, {1, 2}}, {}},
        // Two lines through the swapped cells.
        {"a match stays", 6, 10, 0, {5, 6, 7, 8, 9, 10}, {}, {}},
        // The bonus ball starts its bonus where it landed; nothing goes back.
        {"a bonus swap stays", 13, 12, 0, {}, {{12, 11}, {13, 1}}, {{1, 12, false}}},
    };
    for (const SwapCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A press soon after the last release would be a double click.
        GameClock().Advance(250);
        LoadBoard("moves_level.xml");
        sounds_->Reset();
        bonuses_.started.clear();
        Frame(c.from, true);
        Frame(c.to, true);
        EXPECT_EQ(field_->GetSwapFlag(), CGameField::sbSwapping);
        EXPECT_EQ(g_SampleQueue.GetAliases().count("ball_move"), 1u);
        Frame(c.to, false);
        RunSwap();
        EXPECT_EQ(field_->GetSwapFlag(), CGameField::sbNone);
        EXPECT_EQ(Played("mismatch"), c.mismatches);
        for (int cell : c.dead) EXPECT_EQ(Balls().GetCellBallState(cell), bsDEAD) << cell;
        for (auto [cell, type] : c.types) {
            EXPECT_EQ(TypeAt(cell), type) << cell;
            EXPECT_EQ(Balls().GetCellBallState(cell), bsDEFAULT) << cell;
        }
        EXPECT_EQ(bonuses_.started, c.bonuses);
        EXPECT_EQ(field_->GetPath().GetFrom(), -1);
        EXPECT_EQ(field_->GetFieldFlags()->Get(CFieldFlags::ffCompressDue), 1);
    }
}

// A ball and its partner clicked between two frames, each where it was
// clicked, swap as two clicks in two frames do.
TEST_F(GameFieldMovesTest, ABallAndItsPartnerClickedWithinOneFrameSwap) {
    GameClock().Advance(1000);
    plat::Window* window = gui_test::CoreDriver::window();
    for (int cell : {6, 10}) {
        const CVector2 c = Centre(cell);
        window->InjectMouseMove(static_cast<int>(c.x), static_cast<int>(c.y));
        window->InjectMouseButton(0, true);
        window->InjectMouseButton(0, false);
    }
    window->InjectMouseMove(2, 2);
    gui_test::CoreDriver::Frame();
    field_->OnBallMove();
    EXPECT_EQ(field_->GetSwapFlag(), CGameField::sbSwapping);
    EXPECT_EQ(field_->GetPath().GetFrom(), 6);
    EXPECT_EQ(field_->GetPath().GetTo(), 10);
}

TEST_F(GameFieldMovesTest, ClickingTheSelectedBallSelectsItAgain) {
    Frame(5, true);
    Frame(5, false);
    EXPECT_EQ(field_->GetSelectionState(), 1);
    g_SampleQueue.Clear();
    Frame(5, true);
    EXPECT_EQ(g_SampleQueue.GetAliases().count("ball_select"), 1u);
    EXPECT_EQ(field_->GetSelectionState(), 1);
    EXPECT_EQ(field_->GetPath().GetFrom(), 5);
    // The right button drops the selection.
    Frame(5, false);
    gui_test::CoreDriver::window()->InjectMouseButton(1, true);
    Frame(5, false);
    gui_test::CoreDriver::window()->InjectMouseButton(1, false);
    EXPECT_EQ(field_->GetSelectionState(), 0);
    EXPECT_EQ(field_->GetPath().GetFrom(), -1);
}

TEST_F(GameFieldMovesTest, NoInputWhileTheSceneIsBusy) {
    scene_->state = gsPause;
    EXPECT_TRUE(field_->IsInputBlocked());
    Frame(5, true);
    EXPECT_EQ(field_->GetSelectionState(), 0);
    scene_->state = gsDefault;
    EXPECT_FALSE(field_->IsInputBlocked());
    bonuses_.AddBonus(6, 0, false);
    EXPECT_TRUE(field_->IsInputBlocked());
}

TEST_F(GameFieldMovesTest, TheInsertKeyIsADebugKey) {
    for (int keys : {0, 1}) {
        SCOPED_TRACE(keys);
        g_AppParams.keys = static_cast<uint8_t>(keys);
        const int before = field_->GetFieldState().GetValue();
        gui_test::CoreDriver::Key(0x2D, true);
        Frame(3, false);
        gui_test::CoreDriver::Key(0x2D, false);
        Frame(3, false);
        EXPECT_EQ(field_->GetFieldState().GetValue(), before + keys);
    }
}

TEST_F(GameFieldMovesTest, TheHammerStrikesOneBall) {
    scene_->available[1] = true;
    field_->TakeHammer();
    EXPECT_EQ(field_->GetFieldFlags()->Get(CFieldFlags::ffHammerTaken), 1);
    EXPECT_EQ(Played("hammer_take"), 1);
    // An empty cell and a fragment leave the hammer in the hand.
    Frame(3, false);
    field_->StrikeHammer();
    Frame(14, false);
    field_->StrikeHammer();
    EXPECT_EQ(Played(g_GameCFG->GetString("hammer_mismatch_immortal")), 1);
    EXPECT_EQ(field_->GetFieldFlags()->Get(CFieldFlags::ffHammerTaken), 1);
    // A ball dies under it (struck by a left click), and the hammer goes back.
    Frame(0, true);
    EXPECT_EQ(Balls().GetCellBallState(0), bsDEAD);
    EXPECT_EQ(field_->GetFieldFlags()->Get(CFieldFlags::ffHammerTaken), 0);
    EXPECT_EQ(Played("bll_dead_hammer"), 1);
    ASSERT_FALSE((*explosions_)->explosions.empty());
    EXPECT_EQ((*explosions_)->explosions.back().name, g_GameCFG->GetString("hammer_explosion"));
    const std::vector<std::string> tail(scene_->calls.end() - 3, scene_->calls.end());
    EXPECT_EQ(tail, (std::vector<std::string> {"ShowToolImage 1 1", "EnableTool 1 0", "ResetToolProgress 1"}));
    Frame(0, false);
    // A bonus ball starts its bonus instead of dying.
    field_->TakeHammer();
    Frame(13, false);
    field_->StrikeHammer();
    EXPECT_EQ(bonuses_.started, (std::vector<FakeBonusList::Started> {{1, 13, true}}));
    EXPECT_EQ(Balls().GetCellBallState(13), bsDEFAULT);
    // Taken twice it goes back with its sound.
    field_->TakeHammer();
    field_->TakeHammer();
    EXPECT_EQ(field_->GetFieldFlags()->Get(CFieldFlags::ffHammerTaken), 0);
    EXPECT_EQ(Played("hammer_return"), 1);
}

// Episode 3, level 1: in the eighth column two red balls stand over a purple
// one, a red one below it; swapping the purple and the lower red lines the
// three reds up. The rest of the board holds no line (diagonal stripes of
// three other kinds).
TEST_F(GameFieldMovesTest, ARedRisingUnderTwoRedsOnTheShippedBoardMakesALine) {
    constexpr int kRed = 1, kPurple = 5, kColumn = 7;
    for (int top = 1; top + 3 < 8; ++top) {
        SCOPED_TRACE("the upper red in row " + std::to_string(top));
        const CXMLFile file("Levels\\Episode_2\\Level_0.xml");
        ASSERT_TRUE(field_->LoadConfig(file.SelectSingleNode("//Level")));
        field_->GetTilesField()->Build();
        field_->GetTilesField()->FinishAppear();
        const int width = g_LevelCFG->GetFieldWidth();
        ASSERT_EQ(width, 9);
        for (int cell = width; cell < g_LevelCFG->GetCellCount(); ++cell) {
            const int x = cell % width, y = cell / width;
            int type = 2 + (x + y) % 3;
            if (x == kColumn && y >= top && y <= top + 3) type = y == top + 2 ? kPurple : kRed;
            Balls().CreateBall(cell, type);
            Balls().SetBallState(cell, bsDEFAULT);
        }
        sounds_->Reset();
        const int purple = (top + 2) * width + kColumn, below = purple + width;
        // Dragged (a press soon after the last release is a double click,
        // which does nothing to balls without a bonus).
        Frame(purple, true);
        Frame(below, true);
        ASSERT_EQ(field_->GetSwapFlag(), CGameField::sbSwapping);
        Frame(below, false);
        RunSwap();
        EXPECT_EQ(Played("mismatch"), 0);
        for (int row = top; row <= top + 2; ++row)
            EXPECT_EQ(Balls().GetCellBallState(row * width + kColumn), bsDEAD) << row;
        EXPECT_EQ(TypeAt(below), kPurple);
    }
}

// Balls that rest but look otherwise do not keep a line from forming: balls
// carrying the new-ball mark, a special ball next in the line's direction, and
// a bonus ball of the line's kind that turns back into a plain ball while the
// swap is on its way (it blinks before).
TEST_F(GameFieldMovesTest, RestingBallsMakeTheLineWhateverTheyLookLike) {
    constexpr int kRed = 1, kPurple = 5, kSpecial = 9, kRowBurner = 11, kColumn = 7, kTop = 3;
    enum class Look { kMarked, kSpecialNext, kBonusTurningBack };
    for (Look look : {Look::kMarked, Look::kSpecialNext, Look::kBonusTurningBack}) {
        SCOPED_TRACE(static_cast<int>(look));
        const CXMLFile file("Levels\\Episode_2\\Level_0.xml");
        ASSERT_TRUE(field_->LoadConfig(file.SelectSingleNode("//Level")));
        field_->GetTilesField()->Build();
        field_->GetTilesField()->FinishAppear();
        const int width = g_LevelCFG->GetFieldWidth();
        // Two reds over a purple over a red: the purple and the red below swap.
        for (int cell = width; cell < g_LevelCFG->GetCellCount(); ++cell) {
            const int x = cell % width, y = cell / width;
            int type = 2 + (x + y) % 3;
            if (x == kColumn && y >= kTop && y <= kTop + 3) type = y == kTop + 2 ? kPurple : kRed;
            if (x == kColumn && y == kTop - 1 && look == Look::kSpecialNext) type = kSpecial;
            Balls().CreateBall(cell, type);
            const bool upper_red = x == kColumn && (y == kTop || y == kTop + 1);
            Balls().SetBallState(cell, upper_red && look == Look::kMarked ? bsNEW : bsDEFAULT);
        }
        const int upper = kTop * width + kColumn;
        if (look == Look::kMarked) {
            Balls().SettleNewBalls();
            ASSERT_TRUE(Balls().GetMark(upper));
        }
        if (look == Look::kBonusTurningBack) {
            ASSERT_TRUE(Balls().ChangeBallGraph(upper, kRowBurner));
            // Blinking, a few ticks before it turns back.
            for (int tick = 0; tick < 670; ++tick) Balls().Update();
            ASSERT_EQ(TypeAt(upper), kRowBurner);
        }
        sounds_->Reset();
        const int purple = (kTop + 2) * width + kColumn, below = purple + width;
        GameClock().Advance(250);  // no double click with the last case's release
        Frame(purple, true);
        Frame(below, true);
        ASSERT_EQ(field_->GetSwapFlag(), CGameField::sbSwapping);
        Frame(below, false);
        RunSwap();
        EXPECT_EQ(Played("mismatch"), 0);
        for (int row = kTop; row <= kTop + 2; ++row)
            EXPECT_EQ(Balls().GetCellBallState(row * width + kColumn), bsDEAD) << row;
        if (look == Look::kSpecialNext) {
            EXPECT_EQ(TypeAt(upper - width), kSpecial);
        }
    }
}

}  // namespace
