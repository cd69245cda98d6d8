#include "profiles/game_stat_log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <strings.h>

#include "engine/user_folder.h"

std::unique_ptr<CGameStatLog> g_GameStatLog;

namespace {

bool EndsWithNoCase(const std::string& text, const char* suffix) {
    const size_t n = std::char_traits<char>::length(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

}  // namespace

int CGameStatLog::NextRunNumber(const std::string& folder) {
    bool found = false;
    int largest = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!EndsWithNoCase(name, "GS.txt")) continue;
        const int number = std::atoi(name.c_str());
        if (!found || number > largest) largest = number;
        found = true;
    }
    return found ? largest + 1 : 0;
}

CGameStatLog::CGameStatLog() : _folder(UserFolderPath("all")) {
    char name[32];
    std::snprintf(name, sizeof(name), "%08dGS.txt", _folder.empty() ? 0 : NextRunNumber(_folder));
    _file_name = name;
}

// Opened by its full path: without the user folder nothing is written.
plat::UniqueFile CGameStatLog::OpenFile(const char* mode) const {
    return plat::UniqueFile(_folder.empty() ? nullptr : std::fopen((_folder + _file_name).c_str(), mode));
}

void CGameStatLog::Open() {
    _first_write_pending = 0;
    if (OpenFile("w")) _enabled = 1;
}

void CGameStatLog::Write(const std::string& line) {
    if (_first_write_pending) Open();
    if (!_enabled) return;
    if (plat::UniqueFile f = OpenFile("a")) std::fprintf(f.get(), "%s\n", line.c_str());
}
