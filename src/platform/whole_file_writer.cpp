#include "platform/whole_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
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

// The new file takes the old one's permission bits (a file the player made
// private stays private); a first file gets the usual ones.
bool KeepPermissions(const std::string& path, std::FILE* f, std::string* error) {
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0) return true;
    if (::fchmod(::fileno(f), old.st_mode & 07777) != 0) return Fail(SystemError("permissions", errno), error);
    return true;
}

// The temporary file once it is made: removed on every way out but success,
// an exception thrown by the write callback among them.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (_path.empty()) return;
        std::error_code ec;
        std::filesystem::remove(_path, ec);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void Own(const std::string& path) { _path = path; }
    void Keep() { _path.clear(); }

private:
    std::string _path;
};

// A name that cannot be opened (taken by a folder) is not ours to remove.
bool WriteTemporary(const std::string& path, const std::string& temp, const std::function<bool(std::FILE*)>& write,
                    TemporaryFile& owned, std::string* error) {
    UniqueFile f(std::fopen(temp.c_str(), "wb"));
    if (!f) return Fail(SystemError("open", errno), error);
    owned.Own(temp);
    errno = 0;
    if (!write(f.get())) return Fail(errno ? SystemError("write", errno) : std::string("write failed"), error);
    if (!KeepPermissions(path, f.get(), error)) return false;
    return FlushToDisk(f, error);
}

// The rename itself reaches the disk: after a power cut the folder names the
// old file or the new one, never neither. A file system that cannot sync a
// folder (EINVAL) has nothing more to do.
bool SyncFolderOf(const std::string& path, std::string* error) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Fail(SystemError("open folder", errno), error);
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int code = errno;
    ::close(fd);
    return synced || Fail(SystemError("sync folder", code), error);
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error,
                    std::string* unsynced) {
    if (path.empty()) return Fail("no file name", error);
    const std::string temp = TemporaryFileName(path);
    TemporaryFile owned;
    if (!WriteTemporary(path, temp, write, owned, error)) return false;
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) return Fail("rename: " + ec.message(), error);
    owned.Keep();
    // The new file is in place: a folder that cannot be synced does not undo that.
    std::string sync_error;
    if (!SyncFolderOf(path, &sync_error) && unsynced) *unsynced = sync_error;
    return true;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string* error,
                    std::string* unsynced) {
    return WriteWholeFile(
        path, [&](std::FILE* f) { return size == 0 || std::fwrite(data, 1, size, f) == size; }, error, unsynced);
}

}  // namespace plat
