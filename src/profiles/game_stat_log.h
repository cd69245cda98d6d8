#pragma once
// One plain-text file of statistics lines per run, "%08dGS.txt" in the per-user
// folder, numbered one above the highest number already there. The file is made
// by the first Write only, so a run that writes nothing leaves none.
#include <memory>
#include <string>

#include "platform/file_handle.h"

class CGameStatLog {
public:
    CGameStatLog();
    CGameStatLog(const CGameStatLog&) = delete;
    CGameStatLog& operator=(const CGameStatLog&) = delete;

    void Write(const std::string& line);
    void Open();

    const std::string& FileName() const { return _file_name; }
    bool IsEnabled() const { return _enabled != 0; }

    // The run number: the largest leading number of the "*GS.txt" names in
    // `folder`, plus one; 0 when there is none.
    static int NextRunNumber(const std::string& folder);

private:
    plat::UniqueFile OpenFile(const char* mode) const;

    unsigned char _enabled = 0;
    unsigned char _first_write_pending = 1;
    std::string _folder;  // the user folder when the log was made, ending with "/"
    std::string _file_name;
};

// Owned from start-up (after the per-user folder is prepared) until exit.
extern std::unique_ptr<CGameStatLog> g_GameStatLog;
