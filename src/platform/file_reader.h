#pragma once
// Reading files from disk: a regular file opened for reading, read in order or
// at any offset, and whole files in one call.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_handle.h"

namespace plat {

class FileReader {
public:
    FileReader() = default;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens the file for reading; false when it cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return static_cast<bool>(_file); }
    // What was opened is a folder (which reads nothing).
    bool IsFolder() const { return _folder; }
    // The length in bytes of a regular file (0 for anything else, or closed).
    uint64_t Size() const { return _size; }

    // Reads exactly `size` bytes at the reading position and moves past them.
    bool Read(void* out, size_t size);
    // Reads exactly `size` bytes at `offset` (the reading position stays).
    bool ReadAt(uint64_t offset, void* out, size_t size) const;

    // True when `path` exists and is not a folder.
    static bool IsFile(const std::string& path);

private:
    UniqueFile _file;
    uint64_t _size = 0;
    bool _folder = false;
};

}  // namespace plat
