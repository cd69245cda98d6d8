#include "platform/file_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace plat {

bool FileReader::Open(const std::string& path) {
    Close();
    _file.reset(std::fopen(path.c_str(), "rb"));
    if (!_file) return false;
    struct stat st {};
    if (fstat(fileno(_file.get()), &st) == 0) {
        _folder = S_ISDIR(st.st_mode);
        if (S_ISREG(st.st_mode)) _size = static_cast<uint64_t>(st.st_size);
    }
    return true;
}

void FileReader::Close() {
    _file.reset();
    _size = 0;
    _folder = false;
}

bool FileReader::Read(void* out, size_t size) {
    if (size == 0) return true;
    return _file && std::fread(out, 1, size, _file.get()) == size;
}

bool FileReader::ReadAt(uint64_t offset, void* out, size_t size) const {
    if (!_file) return false;
    // Positioned reads straight from the file, past the stream's buffer.
    const int fd = fileno(_file.get());
    auto* bytes = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < size) {
        ssize_t n = pread(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool FileReader::IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace plat
