#include "frontend/win_main.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine/engine_core.h"
#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/scene_manager.h"
#include "engine/user_folder.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/debug_tools.h"
#include "field/field_globals.h"
#include "frontend/saved_options.h"
#include "frontend/settings_host.h"
#include "graphics/cursor_keeper.h"
#include "graphics/plume.h"
#include "gui/control_kinds.h"
#include "platform/system.h"
#include "platform/window.h"
#include "profiles/app_params.h"
#include "profiles/game_settings.h"
#include "profiles/game_start_request.h"
#include "profiles/game_stat_log.h"
#include "profiles/user_profiles.h"

namespace {

const char* const kMutexName = "Dizuva_Zorive_Zuvid";
const char* const kEffectsLibrary = "Textures\\Plume\\Effects.plume";

bool IsDataTree(const std::string& folder) {
    return plat::PathExists(folder + "/Settings") || plat::PathExists(folder + "/Data.pak");
}

// The data tree (its files, or their Data.pak) lies beside the executable. It
// becomes the current directory before any file is read.
bool EnterDataTree() {
    const std::string beside = plat::ExecutableDir() + "/data";
    return IsDataTree(beside) && plat::SetCurrentDir(beside);
}

// A refusal to start before this run has a log of its own: one line on
// standard error, and the same line added to whatever log is there (never
// emptying the log of a copy that runs).
void ReportRefusal(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    CLogger::AppendToExistingLog(2, line);
}

// The application until the game's own scenes exist: no scenes, black frames.
class CEmptyApp : public CSceneManager {
public:
    void Render() override {
        g_EngineCore->Clear(0xFF000000);
        CSceneManager::Render();
    }
};

void ReadScreenBounds() {
    CXMLFile file("Settings\\GameScreenPanel.xml");
    CXMLNode params = file.SelectSingleNode("//GameScreenPanel/Params");
    g_AppParams.SetBounds(params.GetAttributeInt("left_bound", 0), params.GetAttributeInt("right_bound", 0));
}

// "%d %d %d": episode, level and the third number; fewer numbers leave the rest.
void ReadCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    int episode = g_GameStartRequest.episode, level = g_GameStartRequest.level, third = g_AppParams.third_number;
    std::sscanf(line.c_str(), "%d %d %d", &episode, &level, &third);
    g_GameStartRequest.episode = episode;
    g_GameStartRequest.level = level;
    g_AppParams.third_number = third;
}

}  // namespace

int WinMain(int argc, char** argv) {
    const bool data_found = EnterDataTree();
    InstallSETranslator();
    plat::InstallQuitSignals();
    const UserFolderResult folder = PrepareUserFolder();
    if (!folder.ok) {
        ReportRefusal("Error: cannot use the user folder '" + folder.path + "': " + folder.error);
        return kExitUserFolder;
    }

    // The lock comes before the log: a second copy must not empty the log of
    // the copy that runs.
    auto mutex = std::make_unique<plat::SingleInstanceLock>(kMutexName);
    switch (mutex->GetState()) {
        case plat::SingleInstanceLock::State::Acquired: break;
        case plat::SingleInstanceLock::State::HeldElsewhere:
            ReportRefusal("Error: Application has already run!");
            return kExitOk;
        case plat::SingleInstanceLock::State::Unavailable:
            ReportRefusal("Error: cannot open the lock file '" + mutex->Path() + "': " + mutex->Error());
            return kExitLockFile;
    }

    CLogger& log = CLogger::Instance();
    log.Log(0, "Running game...");
    if (!data_found) log.Log(2, "Error: data tree not found beside the program!");

    GameOptions options;
    try {
        g_GameStatLog = std::make_unique<CGameStatLog>();
        if (!CGameSettings::Instance().LoadSettings(options)) throw std::runtime_error("Fatal error!");
        g_AppParams.keys = options.keys ? 1 : 0;
        ReadScreenBounds();
    } catch (...) {
        LogCurrentException("WinMain");
        return kExitStartFailed;
    }

    LogSystemInfo();
    if (g_AppParams.keys) ReadCommandLine(argc, argv);

    CEngineCore* core_instance = nullptr;
    try {
        core_instance = &CEngineCore::Instance();
        if (!core_instance->Init(options.windowed)) throw std::runtime_error("Failed to initialize core!");
        g_profiles.OpenProfiles();
    } catch (...) {
        LogCurrentException("WinMain");
        return kExitStartFailed;
    }
    CEngineCore& core = *core_instance;
    // The field's bases, configuration and geometry (the bases preload samples
    // through the core's sound keeper); their failure is logged there.
    if (!InitFieldGlobals()) return kExitStartFailed;
    core.SetCallback(2, OnWindowModeChanged);
    CSettingsHost settings_host;
    SetSettingsHost(&settings_host);
    g_profiles.SetActivePlayer(options.player >= 0 && static_cast<uint32_t>(options.player) < g_profiles.GetPlayerCount()
                                   ? static_cast<uint32_t>(options.player)
                                   : 0);

    // The game's own cursors from Settings\Mouse.xml (the device must exist).
    CCursorKeeper::Install();
    int result = kExitOk;
    try {
        SetLanguage(options.language);
        LoadControlKinds();
        ApplySavedOptions(core, options);
    } catch (...) {
        LogCurrentException("WinMain");
        result = kExitStartFailed;
    }

    if (result == kExitOk) {
        CEmptyApp app;
        auto plume = std::make_unique<CPlume>();
        if (!plume->LoadLibrary(kEffectsLibrary))
            log.Log(2, "Error: The effect library '%s' did not load; particle effects are skipped.", kEffectsLibrary);
        DEBUG_GAME::CreateDebugTools();
        DEBUG_GAME::SetDebugDisplay(options.show_debug_info);
        // An exception escaping the loop is logged; the teardown below still runs.
        RunApplication(app);
        DEBUG_GAME::DestroyDebugTools();
        plume.reset();
    }
    ShutdownFieldGlobals();
    SetSettingsHost(nullptr);
    mutex.reset();  // a new instance may start from here on
    log.Log(0, "Game Finished.");
    return result;
}
