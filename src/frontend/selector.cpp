#include "frontend/selector.h"

#include <exception>
#include <vector>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "frontend/menu_background.h"
#include "frontend/trophy_room.h"
#include "game/background.h"
#include "game/game_results.h"
#include "game/game_state_desc.h"
#include "game/music_channel.h"
#include "gui/sample_queue.h"
#include "profiles/game_start_request.h"
#include "profiles/store_guard.h"
#include "profiles/user_profiles.h"

namespace {

const char* const kDialogsFile = "Settings\\Dialogs.xml";
const char* const kMenuFile = "Settings\\Menu.xml";
const char* const kPanelSample = "int_panel_move";

}  // namespace

CSelector::CSelector(ITrophyRoom& room, CUserProfiles* profiles)
    : AScene("Selector"), _selection(room, profiles), _room(room), _store(profiles) {}

CSelector::~CSelector() = default;

CUserProfiles& CSelector::Profiles() const { return _store ? *_store : g_profiles; }

void CSelector::Init() {
    LoadPanels();
    _panels.AddPanel(&_game_complete, 1);
    _panels.SetPanelDirections(&_game_complete, CVector2(0, 1), CVector2(0, -1));
    _panels.SetPanelSounds(&_game_complete, kPanelSample, kPanelSample);
    CreateBackground();
}

void CSelector::LoadPanels() {
    CLogger& log = CLogger::Instance();
    try {
        CXMLFile file(kDialogsFile);
        log.Log(0, "Arcade mission selector panel...");
        _selection.Load(file.SelectSingleNode("//Dialogs/ArcadeDialog"));
        log.Log(0, "Game Complete panel...");
        _game_complete.Load(file.SelectSingleNode("//Dialogs/GameCompleteDialog"));
    } catch (const std::exception& e) {
        log.Log(2, "Error: the selector's panels cannot be loaded (%s)!", e.what());
    }
}

void CSelector::CreateBackground() {
    try {
        CXMLFile file(kMenuFile);
        _back = CreateMenuBackground(file.SelectSingleNode("//MainMenu"));
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: the selector's background cannot be made (%s)!", e.what());
    }
}

void CSelector::Reset() {
    const bool from_menu = GetPrevScene() == "Menu";
    if (!g_MenuMusic.IsPlaying()) g_MenuMusic.Open();
    if (g_GameStartRequest.mode == 2) TakeResumedEpisode();
    // Only a visit that comes straight from the game marks the player's state
    // when it ends in the menu; any other visit must not carry an old mark.
    _mark_state_on_leave = GetPrevScene() == "Game" ? 1 : 0;
    _selection.Refresh(from_menu);
    _panels.Reset();
    g_SampleQueue.Clear();
    _modal = 0;
    _game_complete_pending = g_GameCompleted;
    g_GameCompleted = 0;
}

void CSelector::TakeResumedEpisode() {
    std::vector<uint8_t> suspended_data;
    GameStateDesc suspended_state;
    if (!GuardStoreCall("CSelector::TakeResumedEpisode", false, [&] {
            return Profiles().GetPlayerSuspendedGame(Profiles().GetActivePlayer(), suspended_data);
        }))
        LogFailedCheck("Assert", "g_profiles.GetPlayerSuspendedGame( g_profiles.GetActivePlayer(), suspended_data )",
                       __FILE__, __LINE__);
    if (!PARSERS::ParseGameState(suspended_data, suspended_state)) {
        LogFailedCheck("Assert", "PARSERS::ParseGameState(suspended_data, suspended_state)", __FILE__, __LINE__);
        // Nothing to resume from: the newest unlocked episode is offered.
        g_GameStartRequest.episode = GameStartRequest::kNoEpisode;
        g_GameStartRequest.level = 0;
        return;
    }
    g_GameStartRequest.episode = suspended_state.episode + 1;
    g_GameStartRequest.level = 0;
}

bool CSelector::Update() {
    if (!_modal) UpdateSelection();
    else UpdateGameComplete();
    return true;
}

void CSelector::SwitchTo(const char* scene) {
    SetNextScene(scene);
    SetRequest(kRequestSwitch);
    SetActive(0);
}

void CSelector::UpdateSelection() {
    switch (_selection.GetResult()) {
        case CSelectionDialog::kResultPlay:
        case CSelectionDialog::kResultLoad:
            g_GameStartRequest.episode = _selection.GetSelectedEpisode();
            g_GameStartRequest.level = _selection.GetSelectedLevel();
            CLogger::Instance().Log(0, "User selected episode #%d", g_GameStartRequest.episode);
            SwitchTo("Game");
            g_MenuMusic.Stop();
            _mark_state_on_leave = 0;
            break;
        case CSelectionDialog::kResultBack:
            SwitchTo("Menu");
            MarkPlayerState();
            break;
        default: break;
    }
    _selection.SetResult(0);
    if (_game_complete_pending && _room.IsIdle()) {
        _panels.SetPanelDirections(&_game_complete, CVector2(0, 1), CVector2(0, -1));
        // Every showing starts at the first page, with the congratulation.
        _game_complete.Activate();
        _panels.ShowPanel(&_game_complete, true);
        _modal = 1;
        _game_complete_pending = 0;
    }
}

void CSelector::UpdateGameComplete() {
    if (_game_complete.GetResult() == 1) {
        SwitchTo("Menu");
        _game_complete.SetResult(0);
        // The won game's suspended state is not the next episode's start.
        _mark_state_on_leave = 0;
    }
    _modal = _panels.IsAnyPanelShown() ? 1 : 0;
}

void CSelector::MarkPlayerState() {
    if (!_mark_state_on_leave) return;
    Profiles().SetPlayerState(Profiles().GetActivePlayer(), 1);
    _mark_state_on_leave = 0;
}

void CSelector::Render() {
    g_SampleQueue.PlayAll();
    if (g_EngineCore) g_EngineCore->Clear(0);
    if (_back) {
        _back->RenderLow(1, 0);
        _back->RenderHigh(1, 0);
    }
    _selection.Draw(_modal != 0);
    _room.Render();
    _room.Update();
    _panels.Render();
}

void CSelector::OnKeyDown(uint16_t key) {
    _selection.OnKeyDown(key);
    _panels.OnKeyDown(key);
}

void CSelector::Exit() {
    MarkPlayerState();
    _selection.Clear();
}
