// The game scene's state machine over a stand-in field: keys and focus in
// every state, pause and help, lost lives, the end of a level, an episode and
// the game, the hints, the panel's commands and the debug keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/scene_manager.h"
#include "field/game_flags.h"
#include "game/hints_manager.h"
#include "game_scene_test_support.h"
#include "platform/virtual_keys.h"

namespace game_test {
namespace {

class GameSceneStateTest : public GameSceneTest {
protected:
    // Episode 0, level 0, in play.
    void StartPlaying() {
        Start(0, 0);
        ASSERT_EQ(game->GetState(), gsDefault);
        field->states.clear();
    }
    // Brings the running game into `state` the way play does.
    void Enter(int state) {
        if (state == gsLifeLost) game->SetLives(3);
        game->SetState(state);
        ASSERT_EQ(game->GetState(), state);
    }
    int Told(int state) const { return static_cast<int>(std::count(field->states.begin(), field->states.end(), state)); }
};

struct KeyCase {
    int state;
    uint16_t key;
    int want_state;
    int want_request;
};

TEST_F(GameSceneStateTest, EscAndF1ActOnlyWhereTheStateAllows) {
    const KeyCase cases[] = {
        {gsDefault, plat::VK_ESCAPE, gsPause, prNone},     {gsNextLevel, plat::VK_ESCAPE, gsNextLevel, prNone},
        {gsNextEpisode, plat::VK_ESCAPE, gsNextEpisode, prNone}, {gsGameOver, plat::VK_ESCAPE, gsGameOver, prGameOver},
        {gsLifeLost, plat::VK_ESCAPE, gsLifeLost, prNone}, {gsHint, plat::VK_ESCAPE, gsHint, prNone},
        {gsHelp, plat::VK_ESCAPE, gsHelp, prNone},         {gsDefault, plat::VK_F1, gsHelp, prNone},
        {gsPause, plat::VK_F1, gsPause, prNone},           {gsNextLevel, plat::VK_F1, gsNextLevel, prNone},
        {gsLifeLost, plat::VK_F1, gsLifeLost, prNone},     {gsHint, plat::VK_F1, gsHint, prNone},
        {gsGameOver, plat::VK_F1, gsGameOver, prNone},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " key " << c.key);
        StartPlaying();
        if (c.state != gsDefault) Enter(c.state);
        game->OnKeyDown(c.key);
        EXPECT_EQ(game->GetState(), c.want_state);
        EXPECT_EQ(game->GetPendingRequest(), c.want_request);
    }
}

TEST_F(GameSceneStateTest, FocusLossPausesOnlyWhereThePauseIsGranted) {
    const KeyCase cases[] = {
        // (key unused) state, state after, request after
        {gsDefault, 0, gsPause, prNone},       {gsHint, 0, gsPause, prNone},
        {gsNextLevel, 0, gsNextLevel, prNone}, {gsNextEpisode, 0, gsNextEpisode, prNone},
        {gsLifeLost, 0, gsLifeLost, prNone},   {gsGameWon, 0, gsGameWon, prGameWon},
        {gsHelp, 0, gsHelp, prNone},           {gsGameOver, 0, gsGameOver, prGameOver},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state);
        StartPlaying();
        if (c.state != gsDefault) Enter(c.state);
        field->states.clear();
        game->OnActivate(false);
        EXPECT_EQ(game->GetState(), c.want_state);
        EXPECT_EQ(game->GetPendingRequest(), c.want_request);
        EXPECT_EQ(Told(gsPause), c.want_state == gsPause ? 1 : 0);
        EXPECT_EQ(game->PanelManager().IsShown(&game->PauseDialog()), c.want_state == gsPause);
        // Regaining the focus does not resume.
        game->OnActivate(true);
        EXPECT_EQ(game->GetState(), c.want_state);
    }
    // A scene that never started a level pauses too.
    NewScene();
    game->OnActivate(false);
    EXPECT_EQ(game->GetState(), gsPause);
}

TEST_F(GameSceneStateTest, PauseIsRefusedWhileTheEpisodeStartDialogIsDue) {
    StartPlaying();
    field->begin_episode = true;
    game->OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(game->GetState(), gsDefault);
    EXPECT_TRUE(field->states.empty());
    // The dialog comes, is answered and goes; then the pause is granted.
    Step();
    EXPECT_TRUE(game->PanelManager().IsShown(&game->StartEpisodeDialog()));
    EXPECT_EQ(game->LevelStartFlags().Get(CGameFlags::gfBeginEpisode), 3);
    game->StartEpisodeDialog().SetResult(CEpisodeDialog::kContinue);
    ASSERT_TRUE(StepUntil([&] { return !field->begin_episode; }));
    game->OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(game->GetState(), gsPause);
}

TEST_F(GameSceneStateTest, HelpFromThePauseReturnsToItWithoutEnteringItAgain) {
    StartPlaying();
    game->OnKeyDown(plat::VK_ESCAPE);
    ASSERT_EQ(game->GetState(), gsPause);
    game->PauseDialog().SetResult(CPauseDialog::kHelp);
    Step();
    ASSERT_EQ(game->GetState(), gsHelp);
    EXPECT_EQ(game->GetSavedState(), gsPause);
    // An answer left on the pause dialog would be cleared by its entry actions.
    game->PauseDialog().SetResult(77);
    game->HelpDialog().SetResult(CHelpDialog::kBack);
    Step();
    EXPECT_EQ(game->GetState(), gsPause);
    EXPECT_EQ(game->PauseDialog().GetResult(), 77);
    EXPECT_EQ(Told(gsPause), 1);
    // The credits take the help's place (they are glass, the help must not
    // show through them), and the help comes back when they close.
    game->PauseDialog().SetResult(CPauseDialog::kHelp);
    Step();
    game->HelpDialog().SetResult(CHelpDialog::kCredits);
    Step();
    CPanelManager& panels = game->PanelManager();
    EXPECT_TRUE(panels.IsShown(&game->CreditsDialog()));
    EXPECT_TRUE(StepUntil([&] { return panels.IsReady(&game->CreditsDialog()) && !panels.IsShown(&game->HelpDialog()); }));
    game->CreditsDialog().SetResult(CHelpDialog::kBack);
    Step();
    EXPECT_EQ(game->GetState(), gsHelp);
    EXPECT_TRUE(StepUntil([&] { return !panels.IsShown(&game->CreditsDialog()) && panels.IsReady(&game->HelpDialog()); }));
    EXPECT_TRUE(panels.IsActivePanel(&game->HelpDialog()));
    game->HelpDialog().SetResult(CHelpDialog::kBack);
    Step();
    EXPECT_EQ(game->GetState(), gsPause);
    // Help from play returns to play.
    StartPlaying();
    game->OnKeyDown(plat::VK_F1);
    game->HelpDialog().SetResult(CHelpDialog::kBack);
    Step();
    EXPECT_EQ(game->GetState(), gsDefault);
}

TEST_F(GameSceneStateTest, PauseAnswersResumeOrLeaveTheGame) {
    StartPlaying();
    game->OnKeyDown(plat::VK_ESCAPE);
    game->PauseDialog().SetResult(CPauseDialog::kResume);
    Step();
    EXPECT_EQ(game->GetState(), gsDefault);
    // Menu button of the panel: pause, then back.
    game->Panels().SetResult(CGamePanels::kResultMenu);
    Step();
    EXPECT_EQ(game->GetState(), gsPause);
    game->Panels().SetResult(CGamePanels::kResultMenu);
    Step();
    EXPECT_EQ(game->GetState(), gsDefault);
    // The leave question: stay, then leave for the menu.
    game->OnKeyDown(plat::VK_ESCAPE);
    game->PauseDialog().SetResult(CPauseDialog::kMenu);
    Step();
    EXPECT_TRUE(game->PanelManager().IsShown(&game->LeaveGameDialog()));
    game->LeaveGameDialog().SetResult(CLeaveGameDialog::kStay);
    Step();
    EXPECT_EQ(game->GetState(), gsPause);
    game->PauseDialog().SetResult(CPauseDialog::kMenu);
    Step();
    game->LeaveGameDialog().SetResult(CLeaveGameDialog::kLeave);
    game->Update();
    EXPECT_FALSE(game->IsActive());
    EXPECT_EQ(game->GetNextScene(), "Menu");
    EXPECT_EQ(game->GetRequest(), AScene::kRequestSwitch);
    EXPECT_EQ(g_GameStartRequest.level, 0);
    EXPECT_EQ(field->Count("ClearLevel"), 1);
}

TEST_F(GameSceneStateTest, PanelToolsReachTheField) {
    StartPlaying();
    for (int result : {CGamePanels::kResultHammer, CGamePanels::kResultEgg, CGamePanels::kResultFeather}) {
        game->Panels().SetResult(result);
        game->Update();
        EXPECT_EQ(game->Panels().GetResult(), 0);
    }
    EXPECT_EQ(field->Count("TakeHammer"), 1);
    EXPECT_EQ(field->Count("UseEgg"), 1);
    EXPECT_EQ(field->Count("UseFeather"), 1);
}

TEST_F(GameSceneStateTest, LostLivesShowTheDialogUntilTheLastOneEndsTheGame) {
    StartPlaying();
    game->SetLives(2);
    field->end_steps_done = false;
    game->SetState(gsLifeLost);
    EXPECT_EQ(game->GetLives(), 1);
    EXPECT_TRUE(game->PanelManager().IsShown(&game->DyingDialog()));
    EXPECT_EQ(field->Count("QueueLifeLostSteps"), 1);
    Step();
    EXPECT_TRUE(game->IsFieldShown());  // the end steps still run
    field->end_steps_done = true;
    Step();
    EXPECT_FALSE(game->IsFieldShown());
    game->DyingDialog().SetResult(CDyingDialog::kContinue);
    Step();
    EXPECT_EQ(game->GetState(), gsDefault);
    EXPECT_EQ(field->Count("RestartLevel"), 1);
    EXPECT_TRUE(game->IsFieldShown());

    // The last life: straight to the game over, no life-lost dialog.
    ASSERT_TRUE(StepUntil([&] { return !game->PanelManager().IsShown(&game->DyingDialog()); }));
    field->states.clear();
    game->SetState(gsLifeLost);
    EXPECT_EQ(game->GetState(), gsGameOver);
    EXPECT_EQ(game->GetLives(), 0);
    EXPECT_FALSE(game->PanelManager().IsShown(&game->DyingDialog()));
    EXPECT_EQ(Told(gsGameOver), 2);
    EXPECT_EQ(game->GameMessage().GetAlias(), "GameOver");
    Step();
    EXPECT_TRUE(game->PanelManager().IsShown(&game->GameOverDialog()));
    game->GameOverDialog().SetResult(CTimeOutDialog::kDone);
    game->Update();
    EXPECT_EQ(game->GetNextScene(), "Menu");
    EXPECT_EQ(g_GameStartRequest.level, GameStartRequest::kNoEpisode);
}

TEST_F(GameSceneStateTest, ASecondGameOverInOneRunShowsItsDialogAgain) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        StartPlaying();
        game->SetLives(1);
        game->SetState(gsLifeLost);
        Step();
        EXPECT_TRUE(game->PanelManager().IsShown(&game->GameOverDialog()));
        // Esc ends it before the dialog answers.
        game->OnKeyDown(plat::VK_ESCAPE);
        game->Update();
        EXPECT_EQ(game->GetNextScene(), "Menu");
    }
}

TEST_F(GameSceneStateTest, AWonLevelShowsTheStatisticsAndStartsTheNextLevel) {
    StartPlaying();
    field->end_steps_done = false;
    game->OnKeyDown(plat::VK_F1 + 8);  // debug keys are off
    EXPECT_EQ(game->GetState(), gsDefault);
    game->SetState(gsNextLevel);
    EXPECT_TRUE(game->PanelManager().IsShown(&game->StatisticsDialog()));
    EXPECT_EQ(field->Count("QueueLevelEndSteps"), 1);
    game->StatisticsDialog().SetResult(CStatisticsDialog::kYes);
    Step();
    EXPECT_EQ(game->GetState(), gsNextLevel);  // the field's end steps first
    field->end_steps_done = true;
    ASSERT_TRUE(StepUntil([&] { return game->GetLevelNumber() == 1; }));
    EXPECT_EQ(game->GetState(), gsDefault);
    EXPECT_TRUE(game->IsLastLevel());
    EXPECT_EQ(field->loaded.back(), "Levels\\Episode_0\\Level_1.xml");
    EXPECT_TRUE(game->IsActive());
    EXPECT_FALSE(game->IsSnapshotValid());
}

TEST_F(GameSceneStateTest, TheLastLevelOfAnEpisodeOpensTheNextOneInTheSelector) {
    Start(0, 1);
    g_profiles.UpdateEpisodeAvailability(0, 1, 0);
    game->SetState(gsNextLevel);
    game->StatisticsDialog().SetResult(CStatisticsDialog::kYes);
    ASSERT_TRUE(StepUntil([&] { return game->GetState() == gsNextEpisode; }));
    EXPECT_TRUE(game->PanelManager().IsShown(&game->EpisodeCompleteDialog()));
    game->EpisodeCompleteDialog().SetResult(CEpisodeDialog::kContinue);
    field->artefacts_idle = false;
    ASSERT_TRUE(StepUntil([&] { return field->Count("StartTreasureFlight") == 1 && !game->ScreenFade().IsActive(); }));
    EXPECT_TRUE(game->IsActive());  // the treasure still flies
    field->artefacts_idle = true;
    game->Update();
    EXPECT_FALSE(game->IsActive());
    EXPECT_EQ(game->GetNextScene(), "Selector");
    EXPECT_EQ(g_GameStartRequest.episode, 1);
    EXPECT_EQ(game->GetEpisodeNumber(), 1);
    EXPECT_EQ(game->GetLevelNumber(), 0);
    int32_t available = 0;
    EXPECT_TRUE(g_profiles.GetEpisodeAvailability(0, 1, available));
    EXPECT_EQ(available, 1);
    EXPECT_EQ(g_GameCompleted, 0);
}

TEST_F(GameSceneStateTest, TheLastLevelOfTheLastEpisodeWinsTheGame) {
    Start(1, 0);
    game->SetState(gsNextLevel);
    game->StatisticsDialog().SetResult(CStatisticsDialog::kYes);
    ASSERT_TRUE(StepUntil([&] { return game->GetState() == gsNextEpisode; }));
    game->EpisodeCompleteDialog().SetResult(CEpisodeDialog::kContinue);
    ASSERT_TRUE(StepUntil([&] { return !game->IsActive(); }));
    EXPECT_EQ(game->GetState(), gsGameWon);
    EXPECT_EQ(game->GetNextScene(), "Selector");
    EXPECT_EQ(g_GameCompleted, 1);
    EXPECT_EQ(g_GameStartRequest.level, 0);
    EXPECT_TRUE(g_profiles.IsGameWon(0));
    std::vector<uint8_t> stored;
    EXPECT_FALSE(g_profiles.GetPlayerSuspendedGame(0, stored));
}

TEST_F(GameSceneStateTest, AHintWithoutAPlaceOnTheFieldStaysQueued) {
    StartPlaying();
    std::vector<int32_t> unseen;
    CHintsManager::Instance().CollectUnshownHints(0, unseen);
    ASSERT_FALSE(unseen.empty());
    game->PendingHints() = {unseen.front()};
    for (int i = 0; i < 3; ++i) game->Update();
    EXPECT_EQ(game->GetState(), gsDefault);
    EXPECT_EQ(game->PendingHints().size(), 1u);
    field->hint_placeable = true;
    game->Update();
    EXPECT_EQ(game->GetState(), gsHint);
    EXPECT_TRUE(game->PendingHints().empty());
    EXPECT_TRUE(CHintsManager::Instance().IsHintActive());
    EXPECT_TRUE(game->IsFrozen());
}

TEST_F(GameSceneStateTest, DebugKeysActOnlyWithTheKeysSetting) {
    StartPlaying();
    for (uint16_t key : {uint16_t('1'), uint16_t('Q'), uint16_t('I'), uint16_t('K'), uint16_t(plat::VK_F1 + 8)})
        game->OnKeyDown(key);
    EXPECT_TRUE(field->bonuses.empty());
    EXPECT_TRUE(field->tools.empty());
    EXPECT_EQ(game->GetLives(), 3);
    EXPECT_EQ(game->GetState(), gsDefault);

    g_AppParams.keys = 1;
    for (uint16_t key : {'1', '2', '3', '5'}) game->OnKeyDown(key);
    EXPECT_EQ(field->bonuses, (std::vector<int> {2, 3, 1, 5}));
    for (uint16_t key : {'E', 'Q', 'W'}) game->OnKeyDown(key);
    EXPECT_EQ(field->tools, (std::vector<std::pair<int, int>> {{3, 1000}, {1, 1000}, {2, 1000}}));
    game->OnKeyDown('I');
    EXPECT_EQ(game->GetLives(), 4);
    game->OnKeyDown('K');
    game->OnKeyDown('M');
    EXPECT_EQ(field->Count("DebugPlaceBird"), 1);
    EXPECT_EQ(field->Count("DebugStartMixer"), 1);
    // F8: the level is won and the same level follows.
    game->OnKeyDown(plat::VK_F1 + 7);
    EXPECT_EQ(game->GetState(), gsNextLevel);
    game->StatisticsDialog().SetResult(CStatisticsDialog::kYes);
    ASSERT_TRUE(StepUntil([&] { return game->GetState() == gsDefault; }));
    EXPECT_EQ(game->GetLevelNumber(), 0);
    g_AppParams.keys = 0;
}

TEST_F(GameSceneStateTest, TheFieldGetsTheMouseExceptInStoppedStates) {
    const int states[] = {gsDefault, gsNextLevel, gsNextEpisode, gsHint, gsHelp, gsGameOver, gsLifeLost, gsPause};
    for (int state : states) {
        SCOPED_TRACE(state);
        StartPlaying();
        if (state != gsDefault) Enter(state);
        field->ball_moves = 0;
        game->ProcessFieldInput();
        const bool stopped = state == gsGameOver || state == gsLifeLost || state == gsPause;
        EXPECT_EQ(field->ball_moves, stopped ? 0 : 1);
    }
}

}  // namespace
}  // namespace game_test

namespace game_test {
namespace {

TEST_F(GameSceneStateTest, EverySwitchToTheSceneStartsTheRequestedGame) {
    CSceneManager manager;
    manager.AddScene(game.get());
    g_GameStartRequest.episode = 0;
    g_GameStartRequest.start_flag = 1;
    manager.ActivateScene("Game");
    ASSERT_EQ(field->loaded.size(), 1u);
    game->SetPendingRequest(prLeave);
    manager.Update();
    EXPECT_FALSE(game->IsActive());
    g_GameStartRequest.episode = 1;
    g_GameStartRequest.start_flag = 1;
    manager.SwitchToScene("Game", "Menu");
    EXPECT_TRUE(game->IsActive());
    ASSERT_EQ(field->loaded.size(), 2u);
    EXPECT_EQ(field->loaded.back(), "Levels\\Episode_1\\Level_0.xml");
}

TEST_F(GameSceneStateTest, ALevelThatFailsToLoadLeavesForTheMenu) {
    field->load_ok = false;
    const size_t mark = data_test::ReadLog().size();
    Start(0, 0);
    EXPECT_FALSE(game->IsActive());
    EXPECT_EQ(game->GetNextScene(), "Menu");
    EXPECT_EQ(game->GetRequest(), AScene::kRequestSwitch);
    EXPECT_EQ(field->Count("ClearLevel"), 1);
    EXPECT_NE(data_test::ReadLog().substr(mark).find("could not be loaded"), std::string::npos);
    // Nothing of the broken level is stored as a game to resume, now or when the program ends.
    EXPECT_FALSE(game->IsGameRunning());
    std::vector<uint8_t> stored;
    EXPECT_FALSE(g_profiles.GetPlayerSuspendedGame(0, stored));
}

TEST_F(GameSceneStateTest, TheClickThatClosesADialogNeverReachesTheField) {
    StartPlaying();
    Enter(gsHint);
    Button(true);
    Frame();
    game->ProcessFieldInput();
    // The dialog closes on this press; the button is still held in play.
    Enter(gsDefault);
    field->ball_moves = 0;
    Frame();
    game->ProcessFieldInput();
    EXPECT_EQ(field->ball_moves, 0);
    Button(false);
    Frame();
    game->ProcessFieldInput();
    Button(true);
    Frame();
    game->ProcessFieldInput();
    EXPECT_EQ(field->ball_moves, 2);
    Button(false);
    Frame();
}

}  // namespace
}  // namespace game_test
