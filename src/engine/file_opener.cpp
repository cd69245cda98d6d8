#include "engine/file_opener.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <cstring>

#include "engine/logger.h"
#include "platform/file_names.h"

namespace {

uint64_t FileSize(std::FILE* f) {
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    return static_cast<uint64_t>(st.st_size);
}

bool ReadExact(std::FILE* f, void* out, size_t size) {
    return size == 0 || std::fread(out, 1, size, f) == size;
}

uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

CFileOpener& CFileOpener::Instance() {
    static CFileOpener opener(kPackageName);
    return opener;
}

CFileOpener::CFileOpener(const std::string& package_path) { OpenPackage(package_path); }

CFileOpener::~CFileOpener() { ClosePackage(); }

void CFileOpener::ClosePackage() {
    _pk_file.reset();
    _files_packed = false;
    _fat.clear();
}

bool CFileOpener::OpenPackage(const std::string& path) {
    ClosePackage();
    std::string resolved = plat::ResolveFileName(path);
    if (resolved.empty()) return false;
    _pk_file.reset(std::fopen(resolved.c_str(), "rb"));
    if (!_pk_file) return false;
    _files_packed = ReadTable(FileSize(_pk_file.get()));
    if (!_files_packed) _fat.clear();  // a damaged table is never used
    return _files_packed;
}

bool CFileOpener::ReadTable(uint64_t package_size) {
    ASSERT(_fat.empty());
    std::FILE* f = _pk_file.get();
    uint8_t header[6];
    if (!ReadExact(f, header, sizeof header)) {
        CLogger::Instance().Log(2, "Error: Reading package. The package is shorter than its header.");
        return false;
    }
    uint16_t version = LoadU16(header);
    if (version != kPackageVersion) {
        CLogger::Instance().Log(2, "Error: Invalid file package version %X! Current version is %X", version,
                                kPackageVersion);
        return false;
    }
    uint32_t count = LoadU32(header + 2);
    // Every entry takes at least 10 bytes (length, offset, size), so a count the
    // file cannot hold is refused before anything is read.
    if (package_size < sizeof header || static_cast<uint64_t>(count) * 10 > package_size - sizeof header) {
        CLogger::Instance().Log(2, "Error: Reading package. Entry count %u does not fit the package.", count);
        return false;
    }
    char name[kMaxNameLength + 1];
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t len_bytes[2];
        if (!ReadExact(f, len_bytes, 2)) {
            CLogger::Instance().Log(2, "Error: Reading package. The table ends inside entry %d.", static_cast<int>(i));
            return false;
        }
        uint16_t len = LoadU16(len_bytes);
        if (len > kMaxNameLength) {
            CLogger::Instance().Log(2, "Error: Reading package. File name %d is too long.", static_cast<int>(i));
            return false;
        }
        std::memset(name, 0, sizeof name);
        uint8_t numbers[8];
        if (!ReadExact(f, name, len) || !ReadExact(f, numbers, sizeof numbers)) {
            CLogger::Instance().Log(2, "Error: Reading package. The table ends inside entry %d.", static_cast<int>(i));
            return false;
        }
        for (uint16_t k = 0; k < len; ++k) name[k] = static_cast<char>(name[k] ^ kPackageKey);
        for (uint8_t& b : numbers) b ^= kPackageKey;
        uint32_t offset = LoadU32(numbers);
        uint32_t size = LoadU32(numbers + 4);
        if (static_cast<uint64_t>(offset) + size > package_size) {
            CLogger::Instance().Log(2, "Error: Reading package. File %d lies outside the package.",
                                    static_cast<int>(i));
            return false;
        }
        _fat.emplace(std::string(name), Entry(offset, size));  // the first of equal names wins
    }
    return true;
}

void CFileOpener::NormalizeFileName(std::string& name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    name.erase(std::unique(name.begin(), name.end(), [](char a, char b) { return a == '\\' && b == '\\'; }),
               name.end());
}

bool CFileOpener::ReadFile(const char* name, std::vector<uint8_t>& buffer) {
    if (!name) return false;
    if (_files_packed && ReadFromPackage(name, buffer)) return true;
    return ReadFromDisk(name, buffer);
}

bool CFileOpener::ReadFromPackage(const char* name, std::vector<uint8_t>& buffer) {
    ASSERT(_files_packed);
    ASSERT(_pk_file);
    if (!_pk_file) return false;
    std::string key(name);
    std::replace(key.begin(), key.end(), '/', '\\');
    NormalizeFileName(key);
    auto it = _fat.find(key);
    if (it == _fat.end()) return false;
    const auto [offset, size] = it->second;
    if (size == 0) return false;
    // Positioned reads straight from the file, past the stream's buffer.
    buffer.resize(size);
    int fd = fileno(_pk_file.get());
    size_t done = 0;
    while (done < size) {
        ssize_t n = pread(fd, buffer.data() + done, size - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool CFileOpener::ReadFromDisk(const char* name, std::vector<uint8_t>& buffer) {
    if (!name || !*name) return false;
    std::string path = plat::ResolveFileName(name);
    if (path.empty()) return false;
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    struct stat st {};
    if (fstat(fileno(f.get()), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    size_t length = static_cast<size_t>(FileSize(f.get()));
    buffer.resize(length);
    if (length == 0 || std::fread(buffer.data(), 1, length, f.get()) != length) {
        CLogger::Instance().Log(2, "Error: failed to read file %s!", name);
        return false;
    }
    return true;
}

bool CFileOpener::FileExists(const char* path) {
    if (!path || !*path) return false;
    std::string resolved = plat::ResolveFileName(path);
    if (resolved.empty()) return false;
    struct stat st {};
    return stat(resolved.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}
