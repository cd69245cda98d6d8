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
#include "test_temp.h"

namespace fuzz {

namespace fs = std::filesystem;

// The scratch folder, made (and entered) on first use; it lies in the
// process's temporary folder, removed at exit after the log's last lines.
inline const fs::path& Scratch() {
    static const fs::path dir = [] {
        const fs::path& base = test_temp::ProcessDir();
        fs::create_directories(base / "user");
        fs::create_directories(base / "work");
        PrepareUserFolderAt((base / "user").string());
        fs::current_path(base / "work");
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
