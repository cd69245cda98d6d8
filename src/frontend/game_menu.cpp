#include "frontend/game_menu.h"

#include <ctime>
#include <exception>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/random.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "frontend/menu_background.h"
#include "game/background.h"
#include "game/music_channel.h"
#include "gui/gui_services.h"
#include "gui/sample_queue.h"
#include "platform/virtual_keys.h"
#include "profiles/game_start_request.h"
#include "profiles/user_profiles.h"

namespace {

const char* const kDialogsFile = "Settings\\Dialogs.xml";
const char* const kMenuFile = "Settings\\Menu.xml";
const char* const kPanelSample = "int_panel_move";

// The panels' slides and the transitions between them.
struct PanelLook {
    uint8_t previous_returns;
    CVector2 show;
    CVector2 hide;
};

}  // namespace

CGameMenu::CGameMenu(ITrophyRoom& room, CUserProfiles* profiles, CSplashScreens::Clock splash_clock)
    : AScene("Menu"),
      _main_panel(profiles),
      _profile_panel(profiles),
      _add_user_panel(profiles),
      _first_player_panel(profiles),
      _room(room),
      _store(profiles),
      _splash_clock(std::move(splash_clock)) {}

CGameMenu::~CGameMenu() { Exit(); }

CUserProfiles& CGameMenu::Profiles() const { return _store ? *_store : g_profiles; }

uint32_t CGameMenu::ActivePlayer() const { return Profiles().GetActivePlayer(); }

void CGameMenu::Init() {
    CLogger& log = CLogger::Instance();
    log.LogBold(0, "Initializing GAME MENU...");
    SeedGame(_seed ? *_seed : static_cast<uint32_t>(std::time(nullptr)));
    _splash = std::make_shared<CSplashScreens>(_splash_clock);
    _panel_manager.Reset();
    CreatePanels();
    try {
        CXMLFile file(kMenuFile);
        const CXMLNode menu_node = file.SelectSingleNode("//MainMenu");
        CreateBackground(menu_node);
        LoadMusic(menu_node);
    } catch (const std::exception& e) {
        // The file opener has said which file; the menu goes on without
        // background and music.
        log.Log(2, "Error: the menu's background and music cannot be read (%s)!", e.what());
        LoadMusic(CXMLNode());
    }
    log.LogSeparator();
}

void CGameMenu::CreatePanels() {
    CLogger::Instance().Log(0, "Creating menu panels...");
    LoadPanels();
    _panels = {&_main_panel,         &_options_panel,       &_profile_panel,
               &_add_user_panel,     &_first_player_panel,  &_resume_panel,
               &_new_game_confirmation, &_delete_confirmation};
    RegisterPanels();
}

void CGameMenu::LoadPanels() {
    struct Entry {
        const char* log_line;
        const char* node;
        CBaseDialog* panel;
    };
    const Entry entries[] = {
        {"Main panel...", "//Dialogs/MainDialog", &_main_panel},
        {"Options panel...", "//Dialogs/OptionsDialog", &_options_panel},
        {"Profile panel...", "//Dialogs/ProfileDialog", &_profile_panel},
        {"Start Add User panel...", "//Dialogs/AddUserDialog", &_add_user_panel},
        {"Start Add User panel...", "//Dialogs/StartAddUserDialog", &_first_player_panel},
        {"Load Suspended panel...", "//Dialogs/LoadSuspendedDialog", &_resume_panel},
        {"Load Confirmation panel...", "//Dialogs/NewGameConfirmation", &_new_game_confirmation},
        {"Load Profile Delete Confirmation panel...", "//Dialogs/ProfileDeleteConfirmationDialog",
         &_delete_confirmation},
    };
    CLogger& log = CLogger::Instance();
    try {
        CXMLFile file(kDialogsFile);
        for (const Entry& e : entries) {
            log.Log(0, "%s", e.log_line);
            e.panel->Load(file.SelectSingleNode(e.node));
        }
    } catch (const std::exception& e) {
        log.Log(2, "Error: the menu's panels cannot be loaded (%s)!", e.what());
    }
}

void CGameMenu::RegisterPanels() {
    const std::pair<CBaseDialog*, PanelLook> looks[] = {
        {&_main_panel, {0, CVector2(0, 0), CVector2(0, -1)}},
        {&_profile_panel, {1, CVector2(1, 0), CVector2(-1, 0)}},
        {&_add_user_panel, {1, CVector2(0, 1), CVector2(0, -1)}},
        {&_first_player_panel, {1, CVector2(0, 0), CVector2(-1, 0)}},
        {&_options_panel, {1, CVector2(1, 0), CVector2(-1, 0)}},
        {&_resume_panel, {1, CVector2(-1, 0), CVector2(1, 0)}},
        {&_new_game_confirmation, {1, CVector2(0, 1), CVector2(0, -1)}},
        {&_delete_confirmation, {1, CVector2(0, 1), CVector2(0, -1)}},
    };
    for (const auto& [panel, look] : looks) {
        _panel_manager.AddPanel(panel, look.previous_returns);
        _panel_manager.SetPanelDirections(panel, look.show, look.hide);
        _panel_manager.SetPanelSounds(panel, kPanelSample, kPanelSample);
    }
    const CVector2 none;
    _panel_manager.AddTransition(&_main_panel, &_profile_panel, 4, 1, CVector2(1, 0));
    _panel_manager.AddTransition(&_main_panel, &_options_panel, 5, 1, CVector2(1, 0));
    _panel_manager.AddTransition(&_main_panel, &_resume_panel, 6, 1, CVector2(-1, 0));
    _panel_manager.AddTransition(&_profile_panel, &_add_user_panel, 4, 0, none);
    _panel_manager.AddTransition(&_profile_panel, &_delete_confirmation, 5, 0, none);
    _panel_manager.AddTransition(&_resume_panel, &_new_game_confirmation, 2, 0, none);
}

void CGameMenu::CreateBackground(const CXMLNode& menu_node) { _back = CreateMenuBackground(menu_node); }

void CGameMenu::LoadMusic(const CXMLNode& menu_node) {
    CLogger::Instance().Log(0, "Loading music...");
    MusicTrackRef track;
    const CXMLNode music = menu_node.IsValid() ? menu_node.SelectSingleNode("Music") : CXMLNode();
    if (music.IsValid()) {
        track.alias = music.GetAttribute("alias", "");
        track.track = music.GetAttributeInt("track", 0);
    }
    g_MenuMusic.SetTrack(track);
}

void CGameMenu::Reset() {
    ShowCursor(false);
    g_MenuMusic.Open();
    g_GameStartRequest.episode = GameStartRequest::kNoEpisode;
    _panel_manager.Reset();
    SetMainDirections(0, 0);
    if (!Profiles().HasActivePlayer()) {
        ActivateProfiles();
    } else {
        _panel_manager.SetMute(1);
        _panel_manager.ShowPanel(&_main_panel, true);
        _panel_manager.SetMute(0);
        ActivateMainPanel();
    }
    _result = MenuResult::None;
    CLogger& log = CLogger::Instance();
    log.LogBold(0, "MENU elements created.");
    log.Log(0, " ");
    g_SampleQueue.Clear();
}

void CGameMenu::SetMainDirections(float show_x, float hide_x) {
    _panel_manager.SetPanelDirections(&_main_panel, CVector2(show_x, 0), CVector2(hide_x, 0));
}

void CGameMenu::ShowCursor(bool show) const {
    if (IMouseController* mouse = gui::Mouse()) mouse->ShowCursor(show);
}

void CGameMenu::Render() {
    const bool splash = _splash_showing && _splash;
    if (g_EngineCore) g_EngineCore->Clear(splash ? _splash->GetBackColor() : 0);
    if (!splash) {
        if (_back) {
            _back->RenderLow(1, 0);
            _back->RenderHigh(1, 0);
        }
        _panel_manager.Render();
        g_SampleQueue.PlayAll();
        return;
    }
    _splash->Update();
    if (!_splash->IsActive()) EndSplash();
}

void CGameMenu::OnKeyDown(uint16_t key) {
    if (_splash_showing) {
        if (key == plat::VK_ESCAPE || key == plat::VK_SPACE) EndSplash();
        return;
    }
    _panel_manager.OnKeyDown(key);
}

void CGameMenu::EndSplash() {
    if (!_splash) {
        _splash_showing = 0;
        return;
    }
    _splash->Next();
    if (_splash->IsActive()) return;
    _splash_showing = 0;
    CLogger::Instance().Log(0, "Destroying Logo...");
    _splash->Release();
    _splash.reset();
}

void CGameMenu::Exit() {
    g_MenuMusic.Stop();
    CLogger& log = CLogger::Instance();
    log.LogSeparator();
    log.LogBold(0, "Destroying GAME MENU...");
    log.Log(0, "Menu panels...");
    for (CBaseDialog* panel : _panels) panel->Clear();
    log.Log(0, "Other resources...");
    if (_back) _back->Clear();
    log.LogSeparator();
}
