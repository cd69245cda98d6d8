#include "test_temp.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace test_temp {

namespace {

fs::path MakeUnique(const fs::path& parent, const std::string& name) {
    std::string pattern = (parent / (name + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    return pattern;
}

fs::path TempBase() {
    const char* env = std::getenv("TMPDIR");
    fs::path base = env && *env ? fs::path(env) : fs::path("/tmp");
    fs::create_directories(base);
    return base;
}

class ProcessFolder {
public:
    ProcessFolder() : _path(MakeUnique(TempBase(), "vovaro-test")), _owner(::getpid()) {}
    ~ProcessFolder() {
        if (::getpid() != _owner) return;
        std::error_code ec;
        fs::remove_all(_path, ec);
        if (ec) std::fprintf(stderr, "cannot remove %s: %s\n", _path.c_str(), ec.message().c_str());
    }
    ProcessFolder(const ProcessFolder&) = delete;
    ProcessFolder& operator=(const ProcessFolder&) = delete;

    const fs::path& Path() const { return _path; }

private:
    fs::path _path;
    pid_t _owner;
};

}  // namespace

const fs::path& ProcessDir() {
    static const ProcessFolder folder;
    return folder.Path();
}

TempDir::TempDir(const std::string& name) : _path(MakeUnique(ProcessDir(), name)) {}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(_path, ec);
    if (ec) std::fprintf(stderr, "cannot remove %s: %s\n", _path.c_str(), ec.message().c_str());
}

}  // namespace test_temp
