// The menu's state machine: what the scene does with its panels' answers.
#include <exception>
#include <string>
#include <vector>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "frontend/game_menu.h"
#include "frontend/trophy_room.h"
#include "game/game_state_desc.h"
#include "game/music_channel.h"
#include "gui/gui_services.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "profiles/game_settings.h"
#include "profiles/game_start_request.h"
#include "profiles/store_guard.h"
#include "profiles/user_profiles.h"

namespace {

// Where the pointer goes whenever the main panel becomes current: on the play button.
constexpr int kCursorRight = 150;
constexpr int kCursorDown = 160;

}  // namespace

void CGameMenu::ActivateMainPanel() {
    if (_state == MenuState::Profiles) SetMainDirections(-1, 1);
    else if (_state == MenuState::Resume) SetMainDirections(1, -1);
    _state = MenuState::Main;
    _main_panel.Activate();
    ShowCursor(!SplashActive());
    if (g_EngineCore)
        if (IMouseController* mouse = g_EngineCore->GetMouse())
            mouse->SetPosition(g_EngineCore->GetScreenWidth() / 2 + kCursorRight,
                               g_EngineCore->GetScreenHeight() / 2 + kCursorDown, 0);
}

void CGameMenu::ActivateProfiles() {
    CLogger::Instance().Log(0, "Activating ProfilesDialog...");
    if (_state == MenuState::Main) {
        SetMainDirections(-1, 1);
        _panel_manager.FireActiveTransition(4);
    }
    _state = MenuState::Profiles;
    _profile_panel.Activate();
    _add_user_panel.Activate();
    _first_player_panel.Activate();
    _delete_confirmation.Activate();
    if (!Profiles().HasActivePlayer()) {
        _panel_manager.SetMute(1);
        _panel_manager.ShowPanel(&_first_player_panel, true);
        _panel_manager.SetMute(0);
    }
    // The pointer stays hidden while the splashes show (the first run's
    // name panel comes up under them).
    ShowCursor(!SplashActive());
}

void CGameMenu::ActivateOptions() {
    if (_state == MenuState::Main) SetMainDirections(-1, 1);
    _options_panel.Activate();
    _state = MenuState::Options;
    _panel_manager.FireActiveTransition(5);
    CLogger::Instance().Log(0, "Activating OptionsDialog...");
}

void CGameMenu::OnArcade() {
    std::vector<uint8_t> suspended_data;
    // A store that cannot be read offers a new game.
    if (!GuardStoreCall("CGameMenu::OnArcade", false,
                        [&] { return Profiles().GetPlayerSuspendedGame(ActivePlayer(), suspended_data); })) {
        PrepareNewGame();
        ClearPlayerState();
        _result = MenuResult::ToSelector;
        return;
    }
    GameStateDesc suspended_state;
    if (!PARSERS::ParseGameState(suspended_data, suspended_state))
        LogFailedCheck("Assert", "PARSERS::ParseGameState(suspended_data, suspended_state)", __FILE__, __LINE__);
    CLogger::Instance().Log(0, "Activating LoadSuspendedDialog...");
    if (_state == MenuState::Main) SetMainDirections(1, -1);
    const bool next_episode =
        GuardStoreCall("CGameMenu::OnArcade", 0, [&] { return Profiles().GetPlayerState(ActivePlayer()); }) == 1;
    g_GameStartRequest.mode = next_episode ? 2 : 1;
    _state = MenuState::Resume;
    _resume_panel.Setup(suspended_state, next_episode);
    _panel_manager.SetPanelDirections(&_resume_panel, CVector2(-1, 0), CVector2(1, 0));
    _panel_manager.FireActiveTransition(6);
}

void CGameMenu::PrepareNewGame() {
    _room.ResetForNewGame();
    g_GameStartRequest.start_flag = 1;
    g_GameStartRequest.mode = 0;
    g_GameStartRequest.episode = GameStartRequest::kNoEpisode;
    g_GameStartRequest.level = 0;
}

void CGameMenu::ClearPlayerState() {
    if (Profiles().HasActivePlayer() &&
        GuardStoreCall("CGameMenu::ClearPlayerState", 0, [&] { return Profiles().GetPlayerState(ActivePlayer()); }) != 0)
        Profiles().SetPlayerState(ActivePlayer(), 0);
}

void CGameMenu::StoreActivePlayer() {
    GameOptions options;
    if (!CGameSettings::Instance().LoadSettings(options)) return;
    options.player = static_cast<int32_t>(ActivePlayer());
    CGameSettings::Instance().SaveSettings(options);
}

void CGameMenu::RestoreSuspendedTrophies() {
    std::vector<uint8_t> suspended_data;
    if (!GuardStoreCall("CGameMenu::RestoreSuspendedTrophies", false,
                        [&] { return Profiles().GetPlayerSuspendedGame(ActivePlayer(), suspended_data); }))
        return;
    try {
        CXMLFile xml;
        xml.Parse(std::string(suspended_data.begin(), suspended_data.end()));
        const CXMLNode node = xml.SelectSingleNode("//Suspended");
        if (node.IsValid()) _room.Restore(node);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: the trophies of the suspended game cannot be read (%s)!", e.what());
    }
}

bool CGameMenu::Update() {
    if (_splash_showing)
        if (IMouseController* mouse = gui::Mouse(); mouse && mouse->IsAnyButtonDown()) EndSplash();
    switch (_state) {
        case MenuState::Main: UpdateMain(); break;
        case MenuState::Options: UpdateOptions(); break;
        case MenuState::Profiles: UpdateProfiles(); break;
        case MenuState::Resume: UpdateResume(); break;
    }
    ActOnResult();
    return true;
}

void CGameMenu::UpdateMain() {
    switch (_main_panel.GetCommand()) {
        case CMainDialog::kArcade: OnArcade(); break;
        case CMainDialog::kOptions: ActivateOptions(); break;
        case CMainDialog::kExit:
            _result = MenuResult::Quit;
            CLogger::Instance().Log(0, "User pressed exit button...");
            break;
        case CMainDialog::kSelectProfile: ActivateProfiles(); break;
        default: break;
    }
}

void CGameMenu::UpdateOptions() {
    if (_options_panel.GetResult() != COptionsDialog::kResultBack) return;
    _options_panel.SetResult(0);
    ActivateMainPanel();
    SetMainDirections(-1, 1);
    _panel_manager.ShowPanel(&_options_panel, false);
}

void CGameMenu::UpdateProfiles() {
    UpdateProfileList();
    UpdateAddUser();
    UpdateFirstPlayer();
    UpdateDeleteConfirmation();
}

void CGameMenu::UpdateProfileList() {
    switch (_profile_panel.GetResult()) {
        case CProfileDialog::kResultChosen:
            StoreActivePlayer();
            ActivateMainPanel();
            _panel_manager.ShowPanel(&_profile_panel, false);
            _profile_panel.SetResult(0);
            PrepareNewGame();
            break;
        case CProfileDialog::kResultBack:
            ActivateMainPanel();
            _panel_manager.ShowPanel(&_profile_panel, false);
            _profile_panel.SetResult(0);
            break;
        case CProfileDialog::kResultAdd:
            _add_user_panel.Activate();
            _panel_manager.SetPanelDirections(&_add_user_panel, CVector2(0, 1), CVector2(0, -1));
            _panel_manager.FireActiveTransition(4);
            _profile_panel.SetResult(0);
            break;
        case CProfileDialog::kResultDelete:
            _delete_confirmation.Activate();
            _panel_manager.SetPanelDirections(&_delete_confirmation, CVector2(0, 1), CVector2(0, -1));
            _panel_manager.FireActiveTransition(5);
            _profile_panel.SetResult(0);
            break;
        default: break;
    }
}

void CGameMenu::UpdateAddUser() {
    switch (_add_user_panel.GetResult()) {
        case CAddUserDialog::kResultAdded:
            StoreActivePlayer();
            ActivateMainPanel();
            _panel_manager.SetPanelDirections(&_add_user_panel, CVector2(0, 1), CVector2(-1, 0));
            _panel_manager.ShowPanel(&_add_user_panel, false);
            _panel_manager.ShowPanel(&_profile_panel, false);
            _add_user_panel.SetResult(0);
            PrepareNewGame();
            break;
        case CAddUserDialog::kResultBack:
            _panel_manager.ShowPanel(&_add_user_panel, false);
            _add_user_panel.SetResult(0);
            break;
        default: break;
    }
}

void CGameMenu::UpdateFirstPlayer() {
    // The first player cannot leave the panel without a name.
    if (_first_player_panel.GetResult() != CAddUserDialog::kResultAdded) return;
    StoreActivePlayer();
    ActivateMainPanel();
    _panel_manager.ShowPanel(&_first_player_panel, false);
    _panel_manager.ShowPanel(&_main_panel, true);
    _first_player_panel.SetResult(0);
    PrepareNewGame();
    if (!_held_start) return;
    g_GameStartRequest.episode = _held_start->episode;
    g_GameStartRequest.level = _held_start->level;
    _held_start.reset();
    _result = MenuResult::ToGame;
}

void CGameMenu::UpdateDeleteConfirmation() {
    switch (_delete_confirmation.GetResult()) {
        case CConfirmationDialog::kResultYes:
            _profile_panel.DeleteMarked();
            _panel_manager.SetPanelDirections(&_delete_confirmation, CVector2(0, 1), CVector2(0, -1));
            _panel_manager.ShowPanel(&_delete_confirmation, false);
            _delete_confirmation.SetResult(0);
            break;
        case CProfileDeleteConfirmationDialog::kResultNo:
            _panel_manager.ShowPanel(&_delete_confirmation, false);
            _delete_confirmation.SetResult(0);
            break;
        default: break;
    }
}

void CGameMenu::UpdateResume() {
    switch (_resume_panel.GetResult()) {
        case CLoadSuspendedDialog::kResultLoad:
            RestoreSuspendedTrophies();
            if (GuardStoreCall("CGameMenu::UpdateResume", 0, [&] { return Profiles().GetPlayerState(ActivePlayer()); }) ==
                1) {
                _result = MenuResult::ToSelector;
                g_GameStartRequest.mode = 2;
            } else {
                _result = MenuResult::ToGame;
                g_GameStartRequest.mode = 1;
            }
            break;
        case CLoadSuspendedDialog::kResultNewGame: _panel_manager.FireTransition(&_resume_panel, 2); break;
        case CLoadSuspendedDialog::kResultBack:
            ActivateMainPanel();
            _panel_manager.ShowPanel(&_resume_panel, false);
            break;
        default: break;
    }
    switch (_new_game_confirmation.GetResult()) {
        case CConfirmationDialog::kResultYes: {
            const uint32_t active_player = ActivePlayer();
            if (!Profiles().ErasePlayerSuspendedGame(active_player))
                LogFailedCheck("Assert", "g_profiles.ErasePlayerSuspendedGame( active_player )", __FILE__, __LINE__);
            // Unknown counts as won: the player's episodes are never locked on a guess.
            if (!GuardStoreCall("CGameMenu::UpdateResume", true, [&] { return Profiles().IsGameWon(active_player); }))
                for (int32_t e = 1; e < g_GameStartRequest.episode_count; ++e)
                    Profiles().UpdateEpisodeAvailability(active_player, e, 0);
            PrepareNewGame();
            ClearPlayerState();
            _result = MenuResult::ToSelector;
            g_GameStartRequest.mode = 0;
            break;
        }
        case CConfirmationDialog::kResultNo: _panel_manager.ShowPanel(&_new_game_confirmation, false); break;
        default: break;
    }
    _resume_panel.SetResult(0);
    _new_game_confirmation.SetResult(0);
}

void CGameMenu::SwitchTo(const char* scene) {
    SetNextScene(scene);
    SetRequest(kRequestSwitch);
    SetActive(0);
    g_GameStartRequest.start_flag = 1;
}

void CGameMenu::ActOnResult() {
    switch (_result) {
        case MenuResult::Quit:
            if (g_EngineCore)
                if (plat::Window* window = g_EngineCore->GetHWND()) window->SendMessage(plat::WM_CLOSE, 0, 0);
            _result = MenuResult::None;
            break;
        case MenuResult::ToSelector: SwitchTo("Selector"); break;
        case MenuResult::ToGame:
            SwitchTo("Game");
            g_MenuMusic.Stop();
            break;
        default: break;
    }
}
