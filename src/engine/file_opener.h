#pragma once
// Every data file is read whole through the one file opener: from the data
// package Data.pak first, then from the data tree on disk.
//
// Data.pak (little-endian, no padding): u16 version (1), u32 entry count, then per
// entry u16 name length (below 260), the name bytes, u32 offset and u32 size of
// the contents from the start of the package. Name, offset and size bytes are
// scrambled by exclusive or with kPackageKey; the contents are stored plain.
// Names are stored normalised (lower case, single backslashes), so requests find
// them whatever their case and separators.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_reader.h"

class CFileOpener {
public:
    static constexpr uint16_t kPackageVersion = 1;
    static constexpr uint8_t kPackageKey = 0xB5;
    static constexpr size_t kMaxNameLength = 259;
    static constexpr const char* kPackageName = "Data.pak";

    // The one file opener; on first use it opens Data.pak of the current directory.
    static CFileOpener& Instance();

    // An opener on the given package (tests; the program uses Instance()).
    explicit CFileOpener(const std::string& package_path);
    ~CFileOpener();
    CFileOpener(const CFileOpener&) = delete;
    CFileOpener& operator=(const CFileOpener&) = delete;

    // Closes any open package and opens the one at `path` (resolved like every disk
    // name); true when its whole table was read and checked. A missing package is
    // silent; a damaged one logs one error line. Either way reads then fall back
    // to disk.
    bool OpenPackage(const std::string& path);
    void ClosePackage();
    bool IsPackageUsable() const { return _files_packed; }

    // Reads the whole file into `buffer` (resized to its length): from the package
    // when it holds the name, else from disk. An empty file counts as a failure.
    bool ReadFile(const char* name, std::vector<uint8_t>& buffer);
    bool ReadFile(const std::string& name, std::vector<uint8_t>& buffer) { return ReadFile(name.c_str(), buffer); }

    // Lower case (A-Z only) and runs of backslashes collapsed to one, in place.
    static void NormalizeFileName(std::string& name);

    // True when the file exists on disk (package not consulted) and is not a folder.
    static bool FileExists(const char* path);
    static bool FileExists(const std::string& path) { return FileExists(path.c_str()); }

private:
    using Entry = std::pair<uint32_t, uint32_t>;  // offset, size

    bool ReadTable(uint64_t package_size);
    bool ReadFromPackage(const char* name, std::vector<uint8_t>& buffer);
    bool ReadFromDisk(const char* name, std::vector<uint8_t>& buffer);

    plat::FileReader _package;
    bool _files_packed = false;
    std::map<std::string, Entry> _fat;
};
