// Start-up of the game: finds the data tree, prepares the per-user folder and runs.
#include <string>

#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/user_folder.h"
#include "platform/system.h"

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

}  // namespace

int main(int, char**) {
    const bool data_found = EnterDataTree();
    PrepareUserFolder();
    InstallSETranslator();
    CLogger& log = CLogger::Instance();
    log.Log(0, "Running game...");
    if (!data_found) log.Log(2, "Error: data tree not found beside the program!");
    LogSystemInfo();
    log.Log(0, "Game Finished.");
    return 0;
}
