#include "frontend/win_main.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine/engine_core.h"
#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/user_folder.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/debug_tools.h"
#include "field/field_globals.h"
#include "frontend/brakmoor.h"
#include "frontend/saved_options.h"
#include "frontend/settings_host.h"
#include "frontend/start_up.h"
#include "game/c3d_game.h"
#include "graphics/cursor_keeper.h"
#include "graphics/plume.h"
#include "gui/control_kinds.h"
#include "platform/system.h"
#include "platform/window.h"
#include "platform/x11_display.h"
#include "profiles/game_settings.h"
#include "profiles/game_stat_log.h"
#include "profiles/user_profiles.h"

namespace {

const char* const kMutexName = "Dizuva_Zorive_Zuvid";
const char* const kEffectsLibrary = "Textures\\Plume\\Effects.plume";
const char* const kStatsPage = "/stats/tolvanpuzzle.html";

bool IsDataTree(const std::string& folder) {
    return plat::PathExists(folder + "/Settings") || plat::PathExists(folder + "/Data.pak");
}

// A refusal to start before this run has a log of its own: one line on
// standard error, and the same line added to whatever log is there (never
// emptying the log of a copy that runs).
void ReportRefusal(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    CLogger::AppendToExistingLog(2, line);
}

// The desktop's URL opener: 0 when the page was handed to it.
int OpenWithDesktop(const std::string& url) { return SDL_OpenURL(url.c_str()) == 0 ? 0 : -1; }

// The program's own steps of the start and the end.
class CStartUpHost : public IStartUpHost {
public:
    // A display lost after this still ends the run at once, without these last words.
    ~CStartUpHost() override { plat::ExitOnDisplayLoss(nullptr, kExitStartFailed); }
    bool PrepareUserFolder() override {
        // The data tree (its files, or their Data.pak) lies beside the
        // executable; it becomes the current directory before any file is read.
        _data_dir = plat::ExecutableDir() + "/data";
        _data_found = IsDataTree(_data_dir) && plat::SetCurrentDir(_data_dir);
        plat::InstallQuitSignals();
        const UserFolderResult folder = ::PrepareUserFolder();
        if (!folder.ok) ReportRefusal("Error: cannot use the user folder '" + folder.path + "': " + folder.error);
        return folder.ok;
    }
    void InstallFaultTranslation() override { InstallSETranslator(); }
    Instance AcquireInstance() override {
        _mutex = std::make_unique<plat::SingleInstanceLock>(kMutexName);
        switch (_mutex->GetState()) {
            case plat::SingleInstanceLock::State::Acquired:
                // Only now can no other copy be writing into the user folder.
                RemoveUnfinishedWrites();
                return Instance::Acquired;
            case plat::SingleInstanceLock::State::HeldElsewhere:
                ReportRefusal("Error: Application has already run!");
                return Instance::HeldElsewhere;
            case plat::SingleInstanceLock::State::Unavailable: break;
        }
        ReportRefusal("Error: cannot open the lock file '" + _mutex->Path() + "': " + _mutex->Error());
        return Instance::Unavailable;
    }
    // A new instance may start from here on.
    void ReleaseInstance() override { _mutex.reset(); }
    bool LoadSettings(GameOptions& options) override {
        if (!_data_found) CLogger::Instance().Log(2, "Error: data tree not found beside the program!");
        g_GameStatLog = std::make_unique<CGameStatLog>();
        return CGameSettings::Instance().LoadSettings(options);
    }
    void ReadScreenBounds(int32_t& left_bound, int32_t& right_bound) override {
        CXMLFile file("Settings\\GameScreenPanel.xml");
        CXMLNode params = file.SelectSingleNode("//GameScreenPanel/Params");
        left_bound = params.GetAttributeInt("left_bound", 0);
        right_bound = params.GetAttributeInt("right_bound", 0);
    }
    void LogSystemReport() override { LogSystemInfo(); }
    bool InitCore(bool windowed) override {
        if (!CEngineCore::Instance().Init(windowed)) return false;
        plat::ExitOnDisplayLoss([this] { OnDisplayLost(); }, kExitStartFailed);
        return true;
    }
    void OpenProfiles() override { g_profiles.OpenProfiles(); }
    void SetWindowModeCallback() override { CEngineCore::Instance().SetCallback(2, OnWindowModeChanged); }
    uint32_t GetPlayerCount() override { return g_profiles.GetPlayerCount(); }
    void SetActivePlayer(uint32_t index) override { g_profiles.SetActivePlayer(index); }
    bool RunGame(const GameOptions& options) override;
    // A page of the data tree, shipped with the game.
    std::string GetStatsPageUrl() const override { return "file://" + _data_dir + kStatsPage; }
    int OpenWebPage(const std::string& url) override {
        const char* driver = std::getenv("SDL_VIDEODRIVER");
        return OpenStatisticsPage(url, OpenWithDesktop, driver ? driver : _video_driver);
    }
    void Sleep(uint32_t ms) override { plat::Sleep(ms); }


private:
    // The last words of a run whose display went away: said, and the lock
    // given up so that a new start on another display is not refused.
    void OnDisplayLost() {
        const char* const line = "Error: the connection to the display was lost; the game ends.";
        std::fprintf(stderr, "%s\n", line);
        CLogger::Instance().Log(2, "%s", line);
        _mutex.reset();
    }
    bool PrepareGame(const GameOptions& options);
    // False when the application refused to start a game (said by it).
    bool RunLoop(const GameOptions& options);

    std::string _data_dir;
    bool _data_found = false;
    std::string _video_driver;
    std::unique_ptr<plat::SingleInstanceLock> _mutex;
};

// What the game needs before its application object: the field's data, the
// settings' link to the display, the cursors, the language, the control kinds
// and the saved volumes and gamma. False when the game cannot start (logged).
bool CStartUpHost::PrepareGame(const GameOptions& options) {
    // The field's bases, configuration and geometry (the bases preload samples
    // through the core's sound keeper); their failure is logged there.
    if (!InitFieldGlobals()) return false;
    // The game's own cursors from Settings\Mouse.xml (the device must exist).
    CCursorKeeper::Install();
    try {
        SetLanguage(options.language);
        LoadControlKinds();
        ApplySavedOptions(CEngineCore::Instance(), options);
    } catch (...) {
        LogCurrentException("WinMain");
        return false;
    }
    return true;
}

// The application with the menu, the selector and the game, the particle
// effects and the field's debug tools, for as long as the main loop runs.
// False when an exception ended the loop (logged there) or the
// application refused to start a game (said by it).
bool CStartUpHost::RunLoop(const GameOptions& options) {
    auto app = std::make_unique<CBrakmoor>(c3DGame::Instance());
    auto plume = std::make_unique<CPlume>();
    if (!plume->LoadLibrary(kEffectsLibrary))
        CLogger::Instance().Log(2, "Error: The effect library '%s' did not load; particle effects are skipped.",
                                kEffectsLibrary);
    DEBUG_GAME::CreateDebugTools();
    DEBUG_GAME::SetDebugDisplay(options.show_debug_info);
    // An exception escaping the loop is logged; the teardown below still runs.
    const int result = RunApplication(*app);
    const bool started = !app->IsStartRefused();
    plume.reset();
    app.reset();
    DEBUG_GAME::DestroyDebugTools();
    return result == 0 && started;
}

bool CStartUpHost::RunGame(const GameOptions& options) {
    if (const char* driver = SDL_GetCurrentVideoDriver()) _video_driver = driver;
    CSettingsHost settings_host;
    SetSettingsHost(&settings_host);
    const bool ready = PrepareGame(options) && RunLoop(options);
    // The game scene and its field go before the field's globals.
    g_Game.Reset();
    ShutdownFieldGlobals();
    SetSettingsHost(nullptr);
    return ready;
}

}  // namespace

int WinMain(int argc, char** argv) {
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        command_line += argv[i];
    }
    CStartUpHost host;
    return RunStartUp(host, command_line);
}
