#pragma once
// Builds a data package in the layout that CFileOpener reads (see
// engine/file_opener.h): the packer tool and the tests use it.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class CPackageWriter {
public:
    // The name as the package stores it: slashes become backslashes, then lower
    // case with runs of backslashes collapsed, and no leading backslash.
    static std::string StoredName(std::string_view name);

    // Adds one file; false (nothing added) when the stored name is empty, longer
    // than 259 bytes, or already taken.
    bool AddFile(std::string_view name, std::vector<uint8_t> contents);
    // Adds every regular file below `folder`, named by its path relative to it,
    // whose extension (compared without regard to case, e.g. ".xml") is in
    // `extensions`, or every file when `extensions` is empty; a Data.pak inside
    // is never packed. Files whose names
    // cannot be stored are reported in `error` and skipped; false when the folder
    // cannot be read or a file was skipped.
    bool AddFolder(const std::string& folder, const std::vector<std::string>& extensions, std::string* error);

    size_t Count() const { return _files.size(); }
    // Writes the package; false (with a reason in `error`) when it cannot.
    bool Write(const std::string& path, std::string* error) const;

private:
    std::map<std::string, std::vector<uint8_t>> _files;  // stored name -> contents
};
