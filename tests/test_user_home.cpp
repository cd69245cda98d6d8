// The tests' per-user folder, prepared before main: whatever a test logs has
// a home inside the process's temporary folder from the first line on. Made
// before any function-local static that comes later (the logger among them),
// the process folder outlives them, so the log's last lines at exit land in it
// before it is removed.
#include "engine/user_folder.h"
#include "test_temp.h"

namespace test_temp {

std::filesystem::path DefaultUserBase() { return ProcessDir() / "user"; }

void UseDefaultUserFolder() { PrepareUserFolderAt(DefaultUserBase().string()); }

namespace {
const bool kUserFolderReady = [] {
    UseDefaultUserFolder();
    return true;
}();
}  // namespace

}  // namespace test_temp
