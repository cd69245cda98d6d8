#pragma once
// A fresh temporary folder per test, registered as the per-user folder; the
// current directory is restored and the folder removed afterwards.
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/user_folder.h"
#include "test_temp.h"

class TempFolder {
public:
    TempFolder() : _root("profiles") {
        std::filesystem::create_directories(_root.Path() / "data" / "Settings");
        std::filesystem::create_directories(_root.Path() / "user");
        _saved_cwd = std::filesystem::current_path();
        PrepareUserFolderAt((_root.Path() / "user").string());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::current_path(_saved_cwd, ec);
        // Later log lines (the logger's last ones at exit among them) go to
        // the process's own folder rather than into one about to be removed.
        test_temp::UseDefaultUserFolder();
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The fixture's own data tree (its Settings/ folder exists).
    std::filesystem::path Data() const { return _root.Path() / "data"; }
    // The per-user folder that "all" names.
    std::filesystem::path User() const { return UserFolderPath("all"); }
    void EnterData() const { std::filesystem::current_path(Data()); }

    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    test_temp::TempDir _root;
    std::filesystem::path _saved_cwd;
};
