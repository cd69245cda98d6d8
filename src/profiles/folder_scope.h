#pragma once
// Enters a per-user folder alias for the life of a block and leaves it however
// the block ends, so an exception never strands the current directory.
#include <string>

#include "engine/user_folder.h"

class CFolderScope {
public:
    explicit CFolderScope(const std::string& alias) : _saved(EnterFolder(alias)) {}
    ~CFolderScope() { Leave(); }
    CFolderScope(const CFolderScope&) = delete;
    CFolderScope& operator=(const CFolderScope&) = delete;

    // Leaves early; the destructor then does nothing.
    void Leave() {
        LeaveFolder(_saved);
        _saved.clear();
    }

private:
    std::string _saved;
};
