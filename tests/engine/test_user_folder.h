#pragma once
// One temporary per-user folder for a whole test process: the logger is one per
// process and writes wherever the folder map points.
#include <filesystem>
#include <string>

#include <unistd.h>

#include "engine/user_folder.h"

inline std::string TestUserBase() {
    return (std::filesystem::temp_directory_path() / ("vovaro_test_" + std::to_string(::getpid()))).string();
}

// Prepares the folder (again, should a test have pointed the map elsewhere).
inline void UseTestUserFolder() {
    std::filesystem::create_directories(TestUserBase());
    PrepareUserFolderAt(TestUserBase());
}
