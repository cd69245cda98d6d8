// Start-up of the game: finds the data tree, prepares the per-user folder,
// starts the engine core and runs the main loop.
#include <stdexcept>
#include <string>

#include "engine/engine_core.h"
#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/scene_manager.h"
#include "engine/user_folder.h"
#include "graphics/cursor_keeper.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

// The data tree lies beside the executable, else in the source tree.
bool EnterDataTree() {
    const std::string beside = plat::ExecutableDir() + "/data";
    if (plat::PathExists(beside + "/Settings")) return plat::SetCurrentDir(beside);
#ifdef VOVARO_SOURCE_DATA
    if (plat::PathExists(std::string(VOVARO_SOURCE_DATA) + "/Settings")) return plat::SetCurrentDir(VOVARO_SOURCE_DATA);
#endif
    return false;
}

// The application until the game's own scenes exist: no scenes, black frames.
class CEmptyApp : public CSceneManager {
public:
    void Render() override {
        g_EngineCore->Clear(0xFF000000);
        CSceneManager::Render();
    }
};

}  // namespace

int main(int, char**) {
    const bool data_found = EnterDataTree();
    PrepareUserFolder();
    InstallSETranslator();
    plat::InstallQuitSignals();
    CLogger& log = CLogger::Instance();
    log.Log(0, "Running game...");
    if (!data_found) log.Log(2, "Error: data tree not found beside the program!");
    LogSystemInfo();

    CEngineCore& core = CEngineCore::Instance();
    try {
        // Windowed until the player's settings say otherwise.
        if (!core.Init(true)) throw std::runtime_error("Failed to initialize core!");
    } catch (...) {
        LogCurrentException("Initialization");
        return 1;
    }
    // The game's own cursors from Settings\Mouse.xml (the device must exist).
    CCursorKeeper::Install();

    {
        // An exception escaping the loop is logged; the teardown below still runs.
        CEmptyApp app;
        RunApplication(app);
    }
    log.Log(0, "Game Finished.");
    return 0;
}
