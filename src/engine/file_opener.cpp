#include "engine/file_opener.h"

#include <algorithm>
#include <cstring>

#include "engine/logger.h"
#include "platform/file_names.h"

namespace {

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
    _package.Close();
    _files_packed = false;
    _fat.clear();
}

bool CFileOpener::OpenPackage(const std::string& path) {
    ClosePackage();
    std::string resolved = plat::ResolveFileName(path);
    if (resolved.empty()) return false;
    if (!_package.Open(resolved)) return false;
    _files_packed = ReadTable(_package.Size());
    if (!_files_packed) _fat.clear();  // a damaged table is never used
    return _files_packed;
}

bool CFileOpener::ReadTable(uint64_t package_size) {
    ASSERT(_fat.empty());
    uint8_t header[6];
    if (!_package.Read(header, sizeof header)) {
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
        if (!_package.Read(len_bytes, 2)) {
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
        if (!_package.Read(name, len) || !_package.Read(numbers, sizeof numbers)) {
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
    ASSERT(_package.IsOpen());
    if (!_package.IsOpen()) return false;
    std::string key(name);
    std::replace(key.begin(), key.end(), '/', '\\');
    NormalizeFileName(key);
    auto it = _fat.find(key);
    if (it == _fat.end()) return false;
    const auto [offset, size] = it->second;
    if (size == 0) return false;
    buffer.resize(size);
    return _package.ReadAt(offset, buffer.data(), size);
}

bool CFileOpener::ReadFromDisk(const char* name, std::vector<uint8_t>& buffer) {
    if (!name || !*name) return false;
    std::string path = plat::ResolveFileName(name);
    if (path.empty()) return false;
    plat::FileReader file;
    if (!file.Open(path) || file.IsFolder()) return false;
    size_t length = static_cast<size_t>(file.Size());
    buffer.resize(length);
    if (length == 0 || !file.Read(buffer.data(), length)) {
        CLogger::Instance().Log(2, "Error: failed to read file %s!", name);
        return false;
    }
    return true;
}

bool CFileOpener::FileExists(const char* path) {
    if (!path || !*path) return false;
    std::string resolved = plat::ResolveFileName(path);
    return !resolved.empty() && plat::FileReader::IsFile(resolved);
}
