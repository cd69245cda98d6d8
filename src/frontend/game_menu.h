#pragma once
// The main menu scene ("Menu"): the splash screens first, then the main panel
// and its sub-panels (options, players, the first player's name, the resume
// offer and the confirmations) sliding over a moving background while the
// front end's music plays. Each panel answers through its result; the scene
// reads the answers once a frame, moves between its states and, to start or
// resume a game, fills the start request and switches to "Selector" or "Game".
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/scene.h"
#include "frontend/add_user_dialog.h"
#include "frontend/confirmation_dialog.h"
#include "frontend/load_suspended_dialog.h"
#include "frontend/main_dialog.h"
#include "frontend/options_dialog.h"
#include "frontend/profile_delete_confirmation_dialog.h"
#include "frontend/profile_dialog.h"
#include "frontend/splash_screens.h"
#include "gui/event_holder.h"
#include "gui/panel_manager.h"

class CBackground;
class ITrophyRoom;
class CUserProfiles;
class CXMLNode;

class CGameMenu : public CEventHolder, public AScene {
public:
    enum class MenuState { Main, Options, Profiles, Resume };
    enum class MenuResult { None, Quit, ToSelector, ToGame };

    // room: the trophies a new game clears and a resumed one restores;
    // profiles: the store the panels work on (the program's own by default);
    // splash_clock: the tick count the splash screens run on.
    explicit CGameMenu(ITrophyRoom& room, CUserProfiles* profiles = nullptr, CSplashScreens::Clock splash_clock = {});
    ~CGameMenu() override;

    void Init() override;
    void Reset() override;
    bool Update() override;
    void Render() override;
    void OnKeyDown(uint16_t key) override;
    void Exit() override;
    void OnActivate(bool) override {}

    // The game's seed, taken at every Init: the calendar second unless fixed
    // here (a run that must repeat, such as a test's).
    void SetSeed(std::optional<uint32_t> seed) { _seed = seed; }

    MenuState GetState() const { return _state; }
    MenuResult GetMenuResult() const { return _result; }
    // A game asked for before any player exists (the command line's level):
    // the menu starts it once the first player's name is confirmed.
    void HoldGameStart(int32_t episode, int32_t level) { _held_start = HeldStart {episode, level}; }
    bool IsGameStartHeld() const { return _held_start.has_value(); }
    bool IsSplashShowing() const { return _splash_showing != 0; }
    const CSplashScreens* GetSplash() const { return _splash.get(); }
    const CBackground* GetBackground() const { return _back.get(); }
    const CPanelManager& GetPanelManager() const { return _panel_manager; }
    const std::vector<CBaseDialog*>& GetPanels() const { return _panels; }

    CMainDialog& GetMainPanel() { return _main_panel; }
    COptionsDialog& GetOptionsPanel() { return _options_panel; }
    CProfileDialog& GetProfilePanel() { return _profile_panel; }
    CAddUserDialog& GetAddUserPanel() { return _add_user_panel; }
    CAddUserDialog& GetFirstPlayerPanel() { return _first_player_panel; }
    CProfileDeleteConfirmationDialog& GetDeleteConfirmation() { return _delete_confirmation; }
    CLoadSuspendedDialog& GetResumePanel() { return _resume_panel; }
    CConfirmationDialog& GetNewGameConfirmation() { return _new_game_confirmation; }

private:
    CUserProfiles& Profiles() const;
    uint32_t ActivePlayer() const;

    // Set-up (game_menu.cpp).
    void CreatePanels();
    void LoadPanels();
    void RegisterPanels();
    void CreateBackground(const CXMLNode& menu_node);
    void LoadMusic(const CXMLNode& menu_node);
    void SetMainDirections(float show_x, float hide_x);
    void EndSplash();
    void ShowCursor(bool show) const;
    bool SplashActive() const { return _splash && _splash->IsActive(); }

    // The panels' answers (game_menu_steps.cpp).
    void ActivateMainPanel();
    void ActivateProfiles();
    void ActivateOptions();
    void OnArcade();
    void PrepareNewGame();
    // A new game that starts afresh: no suspended game stands at an episode's end.
    void ClearPlayerState();
    void StoreActivePlayer();
    void RestoreSuspendedTrophies();
    void UpdateMain();
    void UpdateOptions();
    void UpdateProfiles();
    void UpdateProfileList();
    void UpdateAddUser();
    void UpdateFirstPlayer();
    void UpdateDeleteConfirmation();
    void UpdateResume();
    void ActOnResult();
    void SwitchTo(const char* scene);

    MenuState _state = MenuState::Main;
    MenuResult _result = MenuResult::None;
    struct HeldStart {
        int32_t episode, level;
    };
    std::optional<HeldStart> _held_start;
    CMainDialog _main_panel;
    COptionsDialog _options_panel;
    CProfileDialog _profile_panel;
    CAddUserDialog _add_user_panel;
    CAddUserDialog _first_player_panel;
    CProfileDeleteConfirmationDialog _delete_confirmation;
    CLoadSuspendedDialog _resume_panel;
    CConfirmationDialog _new_game_confirmation;
    std::vector<CBaseDialog*> _panels;
    CPanelManager _panel_manager;
    std::shared_ptr<CSplashScreens> _splash;
    std::shared_ptr<CBackground> _back;
    uint8_t _splash_showing = 1;
    ITrophyRoom& _room;
    CUserProfiles* _store;
    CSplashScreens::Clock _splash_clock;
    std::optional<uint32_t> _seed;
};
