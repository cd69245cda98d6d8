#include "platform/whole_file_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/file_handle.h"

namespace plat {

namespace {

bool Fail(const std::string& why, std::string* error) {
    if (error) *error = why;
    return false;
}

std::string SystemError(const char* step, int code) { return std::string(step) + ": " + std::strerror(code); }

// Everything written reaches the disk before the rename, so that a crash
// after it never finds an empty file under the old name.
bool FlushToDisk(UniqueFile& f, std::string* error) {
    if (std::fflush(f.get()) != 0) return Fail(SystemError("write", errno), error);
    if (::fsync(::fileno(f.get())) != 0) return Fail(SystemError("sync", errno), error);
    if (!CloseFile(f)) return Fail(SystemError("close", errno), error);
    return true;
}

// `*created` says whether the temporary file was made (and so is ours to remove).
bool WriteTemporary(const std::string& temp, const std::function<bool(std::FILE*)>& write, bool* created,
                    std::string* error) {
    UniqueFile f(std::fopen(temp.c_str(), "wb"));
    if (!f) return Fail(SystemError("open", errno), error);
    *created = true;
    errno = 0;
    if (!write(f.get())) return Fail(errno ? SystemError("write", errno) : std::string("write failed"), error);
    return FlushToDisk(f, error);
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error) {
    if (path.empty()) return Fail("no file name", error);
    const std::string temp = TemporaryFileName(path);
    std::error_code ec;
    bool created = false;
    if (WriteTemporary(temp, write, &created, error)) {
        std::filesystem::rename(temp, path, ec);
        if (!ec) return true;
        Fail("rename: " + ec.message(), error);
    }
    if (created) std::filesystem::remove(temp, ec);
    return false;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string* error) {
    return WriteWholeFile(
        path, [&](std::FILE* f) { return size == 0 || std::fwrite(data, 1, size, f) == size; }, error);
}

}  // namespace plat
