// The main menu scene on the shipped data with a real profile store: the
// splash gating, the first run's name, the states and what each panel answer
// leads to, the resume offer and the new game's confirmation.
#include "frontend/game_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/base_control.h"
#include "platform/messages.h"
#include "scene_test_support.h"

using namespace scene_test;
using State = CGameMenu::MenuState;

namespace {

class GameMenuTest : public SceneTest {
protected:
    // A menu past its splashes, entered as at start-up.
    void Enter() {
        menu.Init();
        while (menu.IsSplashShowing()) menu.OnKeyDown(plat::VK_ESCAPE);
        menu.Reset();
    }
    void Command(const char* id) {
        CMainDialog& main = menu.GetMainPanel();
        main.OnClick(main.FindControl(id));
        menu.Update();
    }
    bool Shown(CBaseDialog& panel) const { return menu.GetPanelManager().IsShown(&panel); }
    bool SwitchedTo(const std::string& scene) const {
        return menu.GetRequest() == AScene::kRequestSwitch && menu.GetNextScene() == scene && !menu.IsActive() &&
               g_GameStartRequest.start_flag == 1;
    }

    CGameMenu menu {room, &store};
};

TEST_F(GameMenuTest, TheSplashesEndOnlyByEscSpaceOrAMouseButton) {
    menu.Init();
    ASSERT_TRUE(menu.IsSplashShowing());
    ASSERT_NE(menu.GetSplash(), nullptr);
    ASSERT_GE(menu.GetSplash()->GetDescriptions().size(), 2u);
    menu.OnKeyDown('A');
    menu.OnKeyDown(plat::VK_RETURN);
    EXPECT_EQ(menu.GetSplash()->GetCurrent(), 0u);
    menu.OnKeyDown(plat::VK_SPACE);
    EXPECT_EQ(menu.GetSplash()->GetCurrent(), 1u);

    // A held button skips one splash a frame: the last one goes at once.
    Button(true);
    Frame([&] { menu.Update(); });
    EXPECT_FALSE(menu.IsSplashShowing());
    EXPECT_EQ(menu.GetSplash(), nullptr);
    EXPECT_NE(NewLog().find("Destroying Logo..."), std::string::npos);
    Button(false);
    Frame();
}

TEST_F(GameMenuTest, AFirstRunAsksForANameInPlaceAndThenShowsTheMainPanel) {
    ASSERT_EQ(store.GetPlayerCount(), 0u);
    // Under the splashes the name panel is ready, and the pointer stays hidden
    // until they are gone.
    menu.Init();
    menu.Reset();
    ASSERT_TRUE(menu.IsSplashShowing());
    EXPECT_FALSE(core().GetMouse()->IsCursorVisible());
    while (menu.IsSplashShowing()) menu.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_TRUE(core().GetMouse()->IsCursorVisible());
    EXPECT_EQ(menu.GetState(), State::Profiles);
    CAddUserDialog& first = menu.GetFirstPlayerPanel();
    EXPECT_TRUE(Shown(first));
    Frame([&] { menu.Render(); });
    const CPanelSlide* slide = menu.GetPanelManager().GetSlide(&first);
    EXPECT_TRUE(!slide || !slide->IsMoving()) << "shown in place, settled after one frame";
    EXPECT_FALSE(Shown(menu.GetMainPanel()));
    EXPECT_TRUE(menu.GetPanelManager().GetSampleQueue().IsEmpty()) << "without a sound";

    // Esc and an empty name keep the panel.
    first.OnKeyDown(plat::VK_ESCAPE);
    first.SetResult(0);
    Type(first, plat::VK_RETURN);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Profiles);

    for (char c : std::string("ANN")) Type(first, c);
    Type(first, plat::VK_RETURN);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Main);
    EXPECT_TRUE(Shown(menu.GetMainPanel()));
    ASSERT_EQ(store.GetPlayerCount(), 1u);
    EXPECT_NE(TempFolder::Read(ConfigPath()).find("player=\"0\""), std::string::npos);
    EXPECT_EQ(room.resets, 1) << "a new game is prepared";
    EXPECT_EQ(g_GameStartRequest.mode, 0);
    EXPECT_EQ(g_GameStartRequest.episode, GameStartRequest::kNoEpisode);
}

TEST_F(GameMenuTest, TheMainPanelsCommandsLeadToTheirStates) {
    AddPlayer("ANN");
    Enter();
    ASSERT_EQ(menu.GetState(), State::Main);
    EXPECT_TRUE(Shown(menu.GetMainPanel()));

    Command("ID_OPTIONS");
    EXPECT_EQ(menu.GetState(), State::Options);
    EXPECT_TRUE(Shown(menu.GetOptionsPanel()));
    menu.GetOptionsPanel().SetResult(COptionsDialog::kResultBack);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Main);
    EXPECT_EQ(menu.GetOptionsPanel().GetResult(), 0);

    Command("ID_SELECT_PROFILE");
    EXPECT_EQ(menu.GetState(), State::Profiles);
    EXPECT_TRUE(Shown(menu.GetProfilePanel()));
    menu.GetProfilePanel().SetResult(CProfileDialog::kResultBack);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Main);

    // Exit closes the main window, whose end posts the loop's quit.
    Drain();
    Command("ID_EXIT");
    EXPECT_EQ(menu.GetMenuResult(), CGameMenu::MenuResult::None);
    EXPECT_NE(NewLog().find("User pressed exit button..."), std::string::npos);
    bool quit = false;
    plat::Message m;
    while (window()->PeekMessage(&m)) quit = quit || m.message == plat::WM_QUIT;
    EXPECT_TRUE(quit);
}

TEST_F(GameMenuTest, ThePlayerPanelsOpenAndCloseOverTheList) {
    AddPlayer("ANN");
    AddPlayer("BO");
    Enter();
    Command("ID_SELECT_PROFILE");
    CProfileDialog& list = menu.GetProfilePanel();

    list.SetResult(CProfileDialog::kResultAdd);
    menu.Update();
    EXPECT_TRUE(Shown(menu.GetAddUserPanel()));
    menu.GetAddUserPanel().SetResult(CAddUserDialog::kResultBack);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Profiles);

    Click(list, "ID_DELETE");
    menu.Update();
    EXPECT_TRUE(Shown(menu.GetDeleteConfirmation()));
    menu.GetDeleteConfirmation().OnKeyDown(plat::VK_ESCAPE);
    menu.Update();
    EXPECT_EQ(store.GetPlayerCount(), 2u) << "Esc answers no";
    EXPECT_EQ(menu.GetDeleteConfirmation().GetResult(), 0);

    Click(list, "ID_DELETE");
    menu.Update();
    Click(menu.GetDeleteConfirmation(), "ID_YES");
    menu.Update();
    EXPECT_EQ(store.GetPlayerCount(), 1u);
    EXPECT_EQ(menu.GetState(), State::Profiles);

    // Choosing the player stores it and goes back with a new game prepared.
    list.SetResult(CProfileDialog::kResultChosen);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Main);
    EXPECT_EQ(room.resets, 1);
}

TEST_F(GameMenuTest, PlayWithoutASuspendedGameStartsANewGameInTheSelector) {
    const uint32_t ann = AddPlayer("ANN");
    // A state left over from an old game must not move the new game on.
    ASSERT_TRUE(store.SetPlayerState(ann, 1));
    Enter();
    Command("ID_ARCADE");
    EXPECT_TRUE(SwitchedTo("Selector"));
    EXPECT_EQ(g_GameStartRequest.mode, 0);
    EXPECT_EQ(g_GameStartRequest.episode, GameStartRequest::kNoEpisode);
    EXPECT_EQ(g_GameStartRequest.level, 0);
    EXPECT_EQ(store.GetPlayerState(ann), 0);
    EXPECT_EQ(room.resets, 1);
}

// Columns of the player's row renamed under the running game, as a file
// damaged after the start leaves them: the menu logs each failing read of the
// store and starts a new game.
TEST_F(GameMenuTest, AStoreThatFailsAfterTheStartIsLoggedAndPlayStartsANewGame) {
    AddPlayer("ANN");
    Suspend(2, 4);
    store.Database().execute("alter table playerData rename column suspended to suspendedGone");
    store.Database().execute("alter table playerData rename column state to stateGone");
    Enter();
    EXPECT_NO_THROW(Command("ID_ARCADE"));
    EXPECT_TRUE(SwitchedTo("Selector"));
    EXPECT_EQ(g_GameStartRequest.mode, 0);
    const std::string log = NewLog();
    EXPECT_NE(log.find("(CGameMenu::OnArcade)"), std::string::npos) << log;
    EXPECT_NE(log.find("(CGameMenu::ClearPlayerState)"), std::string::npos) << log;
}

TEST_F(GameMenuTest, TheResumeOfferShowsWhereTheSavedGameStandsAndLoadsIt) {
    const struct {
        int state;
        int mode;
        int32_t episode, level;
        const char* scene;
    } cases[] = {{0, 1, 2, 4, "Game"}, {1, 2, 3, 0, "Selector"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scene);
        CGameMenu m(room, &store);
        const uint32_t player = AddPlayer(c.state ? "BO" : "ANN");
        Suspend(2, 4);
        ASSERT_TRUE(store.SetPlayerState(player, c.state));
        m.Init();
        while (m.IsSplashShowing()) m.OnKeyDown(plat::VK_ESCAPE);
        m.Reset();
        m.GetMainPanel().OnClick(m.GetMainPanel().FindControl("ID_ARCADE"));
        m.Update();
        EXPECT_EQ(m.GetState(), State::Resume);
        EXPECT_TRUE(m.GetPanelManager().IsShown(&m.GetResumePanel()));
        EXPECT_EQ(g_GameStartRequest.mode, c.mode) << "known before the player answers";
        EXPECT_EQ(m.GetResumePanel().GetEpisode(), c.episode);
        EXPECT_EQ(m.GetResumePanel().GetLevel(), c.level);
        EXPECT_EQ(m.GetRequest(), AScene::kRequestNone);

        const int restores = room.restores;
        Click(m.GetResumePanel(), "ID_LOAD");
        m.Update();
        EXPECT_EQ(room.restores, restores + 1);
        EXPECT_EQ(room.restored_node, "Suspended");
        EXPECT_EQ(m.GetRequest(), AScene::kRequestSwitch);
        EXPECT_EQ(m.GetNextScene(), c.scene);
        EXPECT_EQ(g_GameStartRequest.mode, c.mode);
        EXPECT_TRUE(HasSuspendedGame());
    }
}

TEST_F(GameMenuTest, ANewGameFromTheResumeOfferIsConfirmedAndLocksTheLaterEpisodes) {
    const uint32_t ann = AddPlayer("ANN");
    for (int e = 1; e < 5; ++e) store.UpdateEpisodeAvailability(ann, e, 1);
    Suspend(3, 0);
    ASSERT_TRUE(store.SetPlayerState(ann, 1));
    Enter();
    Command("ID_ARCADE");
    CLoadSuspendedDialog& offer = menu.GetResumePanel();

    // "New game", then no: the offer is up again.
    Click(offer, "ID_BACK");
    menu.Update();
    EXPECT_TRUE(Shown(menu.GetNewGameConfirmation()));
    menu.GetNewGameConfirmation().OnKeyDown(plat::VK_ESCAPE);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Resume);
    EXPECT_EQ(menu.GetRequest(), AScene::kRequestNone);

    Click(offer, "ID_BACK");
    menu.Update();
    Click(menu.GetNewGameConfirmation(), "ID_YES");
    menu.Update();
    EXPECT_TRUE(SwitchedTo("Selector"));
    EXPECT_EQ(g_GameStartRequest.mode, 0);
    EXPECT_EQ(g_GameStartRequest.episode, GameStartRequest::kNoEpisode);
    EXPECT_FALSE(HasSuspendedGame());
    EXPECT_EQ(store.GetPlayerState(ann), 0);
    EXPECT_EQ(Available(0), 1);
    for (int e = 1; e < 5; ++e) EXPECT_EQ(Available(e), 0) << e;
}

TEST_F(GameMenuTest, APlayerWhoHasWonKeepsEveryEpisodeAndBackReturnsToTheMainPanel) {
    const uint32_t ann = AddPlayer("ANN");
    for (int e = 1; e < 5; ++e) store.UpdateEpisodeAvailability(ann, e, 1);
    ASSERT_TRUE(store.SetGameWon(ann, true));
    Suspend(1, 2);
    Enter();
    Command("ID_ARCADE");
    menu.GetResumePanel().OnKeyDown(plat::VK_ESCAPE);
    menu.Update();
    EXPECT_EQ(menu.GetState(), State::Main);

    Command("ID_ARCADE");
    Click(menu.GetResumePanel(), "ID_BACK");
    menu.Update();
    Click(menu.GetNewGameConfirmation(), "ID_YES");
    menu.Update();
    for (int e = 0; e < 5; ++e) EXPECT_EQ(Available(e), 1) << e;
}

}  // namespace
