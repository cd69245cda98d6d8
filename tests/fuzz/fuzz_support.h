#pragma once
// Shared by the fuzz harnesses: a private scratch folder that is the current
// directory (the readers find their files there), a user folder for the log
// that is emptied now and then so that long runs do not fill the disk, and
// writing the input where a reader expects its file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/user_folder.h"

namespace fuzz {

namespace fs = std::filesystem;

// The scratch folder, made (and entered) on first use and removed at exit.
inline const fs::path& Scratch() {
    static const fs::path dir = [] {
        const fs::path base = fs::temp_directory_path() / ("vovaro_fuzz_" + std::to_string(::getpid()));
        fs::remove_all(base);
        fs::create_directories(base / "user");
        fs::create_directories(base / "work");
        PrepareUserFolderAt((base / "user").string());
        fs::current_path(base / "work");
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("vovaro_fuzz_" + std::to_string(::getpid())), ec);
        });
        // Made after the removal is registered, so its closing lines at exit
        // still find the folder.
        CLogger::Instance();
        return base / "work";
    }();
    return dir;
}

// Called once per input: every 256 inputs the log starts over.
inline void LimitLog() {
    static unsigned count = 0;
    if (++count % 256 != 0) return;
    std::error_code ec;
    fs::remove(UserFolderPath("all") + CLogger::FileName(), ec);
}

// Writes the input as `relative` below the scratch folder; its full path.
inline std::string WriteInput(const std::string& relative, const uint8_t* data, size_t size) {
    const fs::path path = Scratch() / relative;
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path.string();
}

inline void WriteText(const std::string& relative, const std::string& text) {
    WriteInput(relative, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// Runs a reader that reports bad input by throwing (the XML layer does):
// those exceptions are the reader's documented answer, not a finding. A
// processor fault (translated by the plain driver) stays a finding.
template <typename F>
void Tolerating(F&& reader) {
    try {
        reader();
    } catch (const win32_exception&) {
        throw;
    } catch (const std::exception&) {
    }
}

}  // namespace fuzz
