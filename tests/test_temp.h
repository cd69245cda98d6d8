#pragma once
// Temporary folders of the tests. Every test process gets one folder of its
// own under $TMPDIR (else /tmp), made before main and removed when the process
// ends; the per-user folder (and so the log) points into it from the start, so
// nothing is written into the build folder or the data tree. A test takes its
// folders from TempDir, which removes its folder when it goes out of scope,
// also when the test fails.
#include <filesystem>
#include <string>

namespace test_temp {

// The process's own folder (made on first use; removed at exit by the
// process that made it, never by a forked child).
const std::filesystem::path& ProcessDir();

// The per-user folder the tests' log lives in: inside ProcessDir().
std::filesystem::path DefaultUserBase();
// Points the per-user folder at DefaultUserBase() again, after a test
// pointed it at a folder of its own.
void UseDefaultUserFolder();

class TempDir {
public:
    // A new empty folder under ProcessDir(); `name` only helps a reader.
    explicit TempDir(const std::string& name = "tmp");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return _path; }
    std::filesystem::path operator/(const std::string& child) const { return _path / child; }

private:
    std::filesystem::path _path;
};

}  // namespace test_temp
