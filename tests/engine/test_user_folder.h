#pragma once
// The per-user folder of the test process (inside its temporary folder): the
// logger is one per process and writes wherever the folder map points.
#include <string>

#include "engine/user_folder.h"
#include "test_temp.h"

inline std::string TestUserBase() { return test_temp::DefaultUserBase().string(); }

// Prepares the folder (again, should a test have pointed the map elsewhere).
inline void UseTestUserFolder() { test_temp::UseDefaultUserFolder(); }
