#pragma once
// A fresh temporary folder per test, registered as the per-user folder; the
// current directory is restored and the folder removed afterwards.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/user_folder.h"

class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        _root = std::filesystem::temp_directory_path() /
                ("vovaro_profiles_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(_root);
        std::filesystem::create_directories(_root / "data" / "Settings");
        std::filesystem::create_directories(_root / "user");
        _saved_cwd = std::filesystem::current_path();
        PrepareUserFolderAt((_root / "user").string());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::current_path(_saved_cwd, ec);
        std::filesystem::remove_all(_root, ec);
        // Later log lines (the logger's last ones at exit among them) go to one
        // shared folder rather than into whatever directory is current.
        const auto shared = std::filesystem::temp_directory_path() / "vovaro_profiles_tests";
        std::filesystem::create_directories(shared, ec);
        PrepareUserFolderAt(shared.string());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The fixture's own data tree (its Settings/ folder exists).
    std::filesystem::path Data() const { return _root / "data"; }
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
    std::filesystem::path _root;
    std::filesystem::path _saved_cwd;
};
