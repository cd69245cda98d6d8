#pragma once
// A temporary data tree with the real profile description and a small default
// hiscore file, and a per-user folder for "profile.db".
#include <filesystem>
#include <string>

#include "temp_folder.h"

class ProfileFixture : public TempFolder {
public:
    // Two levels of one episode: Ann holds both, Bo only the first.
    static constexpr const char* kSmallHiscores =
        "<Hiscores><Episode>"
        "<Level><User name=\"Ann\" time=\"1000\"/><User name=\"Bo\" time=\"2000\"/></Level>"
        "<Level><User name=\"Ann\" time=\"3000\"/></Level>"
        "</Episode></Hiscores>";

    explicit ProfileFixture(const std::string& hiscores = kSmallHiscores) {
        std::filesystem::copy_file(std::filesystem::path(VOVARO_SOURCE_DIR) / "data" / "Settings" / "Profiles.xml",
                                   Data() / "Settings" / "Profiles.xml");
        WriteHiscores(hiscores);
        EnterData();
    }
    void WriteHiscores(const std::string& text) const { Write(Data() / "Settings" / "Hiscores.xml", text); }
    std::filesystem::path DbPath() const { return User() / "profile.db"; }
};
