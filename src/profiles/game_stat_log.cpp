#include "profiles/game_stat_log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <strings.h>

#include "profiles/folder_scope.h"

std::unique_ptr<CGameStatLog> g_GameStatLog;

namespace {

bool EndsWithNoCase(const std::string& text, const char* suffix) {
    const size_t n = std::char_traits<char>::length(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

}  // namespace

int CGameStatLog::NextRunNumber() {
    bool found = false;
    int largest = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
        const std::string name = entry.path().filename().string();
        if (!EndsWithNoCase(name, "GS.txt")) continue;
        const int number = std::atoi(name.c_str());
        if (!found || number > largest) largest = number;
        found = true;
    }
    return found ? largest + 1 : 0;
}

CGameStatLog::CGameStatLog() {
    CFolderScope folder("all");
    char name[32];
    std::snprintf(name, sizeof(name), "%08dGS.txt", NextRunNumber());
    _file_name = name;
}

void CGameStatLog::Open() {
    _first_write_pending = 0;
    CFolderScope folder("all");
    if (FILE* f = std::fopen(_file_name.c_str(), "w")) {
        std::fclose(f);
        _enabled = 1;
    }
}

void CGameStatLog::Write(const std::string& line) {
    if (_first_write_pending) Open();
    if (!_enabled) return;
    CFolderScope folder("all");
    if (FILE* f = std::fopen(_file_name.c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}
