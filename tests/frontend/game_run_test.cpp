// The program's application over the real game scene, field and data, run
// frame by frame headless with input injected through the core's window: a
// start into level 1 from the command line with the debug keys on, a real
// match, the pause, a won level with its statistics, an exit in the middle of
// a level and the resume of that game.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/field_globals.h"
#include "field/game_field.h"
#include "field/level_cfg.h"
#include "field/move_record.h"
#include "frontend/brakmoor.h"
#include "game/c3d_game.h"
#include "game/game_state_desc.h"
#include "game/hint_dialog.h"
#include "game/hints_manager.h"
#include "game/live_scene_field.h"
#include "menu_test_support.h"
#include "platform/messages.h"
#include "profiles/app_params.h"
#include "profiles/game_start_request.h"

namespace {

class GameRunTest : public menu_test::MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(InitFieldGlobals());
        g_profiles.OpenProfiles();
        ASSERT_TRUE(g_profiles.AddPlayer("Tester"));
        player_ = g_profiles.GetActivePlayer();
        // Hints would stop play for a click; this player has seen them all.
        std::vector<int32_t> hints;
        CHintsManager::Instance().CollectUnshownHints(player_, hints);
        for (int32_t id : hints) g_profiles.SetHintShown(player_, id, true);
        // As the command line "0 0" with the "keys" setting on.
        g_AppParams.keys = 1;
        g_GameStartRequest = GameStartRequest {};
        g_GameStartRequest.episode = 0;
        g_GameStartRequest.level = 0;
    }
    void TearDown() override {
        app_.reset();
        g_Game.Reset();
        ShutdownFieldGlobals();
        g_AppParams.keys = 0;
        g_GameStartRequest = GameStartRequest {};
        MenuTest::TearDown();
    }

    void StartApp() {
        app_ = std::make_unique<CBrakmoor>(c3DGame::Instance());
        app_->Init();
    }
    c3DGame& game() { return *g_Game.Get(); }
    CGameField& field() { return dynamic_cast<CLiveSceneField&>(game().Field()).GetField(); }

    // One frame of the main loop: the window's messages (keys to the
    // application), the update, the drawing.
    void Step() {
        plat::Message msg;
        while (window()->PeekMessage(&msg))
            if (msg.message == plat::WM_KEYDOWN) app_->OnKeyDown(static_cast<uint16_t>(msg.wParam & 0xFFFF));
        ASSERT_TRUE(app_->Update());
        Frame([&] { app_->Render(); });
    }
    bool StepUntil(const std::function<bool()>& done, int limit) {
        for (int i = 0; i < limit && !done(); ++i) {
            Step();
            if (HasFatalFailure()) return false;
        }
        return done();
    }
    void Press(int vk) {
        window()->InjectKey(vk, true);
        Step();
        window()->InjectKey(vk, false);
        Step();
    }
    void ClickAt(float x, float y) {
        MoveTo(static_cast<int>(x), static_cast<int>(y));
        Step();
        Button(true);
        Step();
        Button(false);
        Step();
    }
    void ClickControl(CBaseDialog& dialog, const std::string& id) {
        CBaseControl* control = dialog.FindControl(id);
        ASSERT_NE(control, nullptr);
        ClickAt(control->GetX() + control->GetWidth() / 2, control->GetY() + control->GetHeight() / 2);
    }
    // Play is open: the level stands and the episode's start dialog is gone.
    bool InPlay() {
        if (game().GetState() != gsDefault || field().NeedShowBeginEpisode()) return false;
        std::vector<MoveRecord> moves;
        return field().FindAvailableMoves(moves) && !moves.empty();
    }
    // Closes the episode's start dialog when it stands, then waits for play.
    void ReachPlay() {
        for (int i = 0; i < 3000 && !InPlay(); ++i) {
            if (game().PanelManager().IsReady(&game().StartEpisodeDialog())) ClickControl(game().StartEpisodeDialog(), "ID_OK");
            Step();
            if (HasFatalFailure()) return;
        }
        ASSERT_TRUE(InPlay());
    }
    // Closes the hint that stands, if one does.
    void CloseHint() {
        CHintsManager& hints = CHintsManager::Instance();
        if (game().GetState() != gsHint || !hints.IsHintActive()) return;
        ClickControl(*hints.GetDialog(static_cast<size_t>(hints.GetActiveIndex())), "ID_CONTINUE");
        StepUntil([&] { return game().GetState() == gsDefault; }, 200);
    }
    // Clicks the two cells of a reported move until the score rises; a hint
    // that comes up between the clicks is closed and the swap begun again.
    void MakeAMatch() {
        for (int attempt = 0; attempt < 10 && game().GetScore() == 0; ++attempt) {
            CloseHint();
            std::vector<MoveRecord> moves;
            ASSERT_TRUE(field().FindAvailableMoves(moves));
            float ax = 0, ay = 0, bx = 0, by = 0;
            ASSERT_TRUE(g_LevelCFG->CellCenterToScr(moves.front().from, ax, ay));
            ASSERT_TRUE(g_LevelCFG->CellCenterToScr(moves.front().to, bx, by));
            ClickAt(ax, ay);
            if (game().GetState() != gsDefault) continue;
            ClickAt(bx, by);
            StepUntil([&] { return game().GetScore() > 0 || game().GetState() == gsHint; }, 300);
        }
        EXPECT_GT(game().GetScore(), 0);
    }
    static std::set<std::pair<int, int>> Balls(const std::vector<uint8_t>& text) {
        CXMLFile xml;
        xml.Parse(text);
        std::set<std::pair<int, int>> balls;
        const CXMLNodeList list = xml.SelectNodes("//Suspended/BallsField/Ball");
        for (int i = 0; i < list.GetLength(); ++i)
            balls.emplace(list.GetItem(i).GetAttributeInt("cell_index", -1), list.GetItem(i).GetAttributeInt("graph_type", -1));
        return balls;
    }

    uint32_t player_ = 0;
    std::unique_ptr<CBrakmoor> app_;
};

TEST_F(GameRunTest, ALevelIsPlayedWonLeftAndResumed) {
    StartApp();
    ASSERT_EQ(app_->GetFirstScene(), "Game");
    ASSERT_TRUE(game().IsActive());
    ASSERT_NO_FATAL_FAILURE(ReachPlay());

    // A real match: the two cells of a move the field reports.
    ASSERT_NO_FATAL_FAILURE(MakeAMatch());

    // Esc pauses; Esc in the pause dialog resumes.
    Press(plat::VK_ESCAPE);
    EXPECT_EQ(game().GetState(), gsPause);
    ASSERT_TRUE(StepUntil([&] { return game().PanelManager().IsReady(&game().PauseDialog()); }, 200));
    Press(plat::VK_ESCAPE);
    EXPECT_EQ(game().GetState(), gsDefault);

    // F9 wins the level: its statistics, then level 2.
    const int32_t score_before = game().GetScore();
    Press(plat::VK_F1 + 8);
    EXPECT_EQ(game().GetState(), gsNextLevel);
    EXPECT_TRUE(game().PanelManager().IsShown(&game().StatisticsDialog()));
    const bool next = StepUntil(
        [&] {
            if (game().PanelManager().IsReady(&game().StatisticsDialog())) ClickControl(game().StatisticsDialog(), "ID_OK");
            return game().GetLevelNumber() == 1 && game().GetState() == gsDefault;
        },
        3000);
    ASSERT_TRUE(next);
    EXPECT_GE(game().GetScore(), score_before);
    ASSERT_NO_FATAL_FAILURE(ReachPlay());

    // The program ends in the middle of level 2: the game is the player's suspended game.
    const int32_t score = game().GetScore();
    const int32_t lives = game().GetLives();
    app_->Exit();
    std::vector<uint8_t> stored;
    ASSERT_TRUE(g_profiles.GetPlayerSuspendedGame(player_, stored));
    GameStateDesc desc;
    ASSERT_TRUE(PARSERS::ParseGameState(stored, desc));
    EXPECT_EQ(desc.episode, 0);
    EXPECT_EQ(desc.level, 1);
    EXPECT_EQ(desc.score, score);
    EXPECT_EQ(desc.lives, lives);
    ASSERT_FALSE(Balls(stored).empty());

    // A later run resumes it (start request mode 1) with the same level, score, lives and board.
    app_.reset();
    g_Game.Reset();
    g_GameStartRequest = GameStartRequest {};
    g_GameStartRequest.episode = 0;
    g_GameStartRequest.mode = 1;
    StartApp();
    EXPECT_EQ(game().GetEpisodeNumber(), 0);
    EXPECT_EQ(game().GetLevelNumber(), 1);
    EXPECT_EQ(game().GetScore(), score);
    EXPECT_EQ(game().GetLives(), lives);
    std::vector<uint8_t> resumed;
    ASSERT_TRUE(game().SerializeState(resumed));
    EXPECT_EQ(Balls(resumed), Balls(stored));
    Step();
    EXPECT_TRUE(game().IsActive());
}

}  // namespace
