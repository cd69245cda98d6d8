#pragma once
// Writes a file whole without ever leaving a half-written one: the content goes
// to "<path>.tmp" beside it, reaches the disk, takes the old file's permission
// bits and is renamed over the old file; then the folder is synced, so that a
// power cut leaves the old file or the new one. The rename is the save: a
// folder sync that fails after it is told apart, not a failure. A write that fails (a full
// disk, a vanished folder, an exception from the write callback, which passes
// on) removes the temporary file and keeps the old one as it was.
#include <cstdio>
#include <functional>
#include <string>

namespace plat {

// `write` fills the open temporary file and answers whether it could. True
// when the file at `path` now holds the new content, else false with the
// reason in *error. When the folder could not be synced after the rename
// (a folder without read permission, an I/O error) the call is still true and
// the reason goes to *unsynced (left alone otherwise), for the caller to log.
bool WriteWholeFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error,
                    std::string* unsynced = nullptr);

// The same for content that is ready in memory.
bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string* error,
                    std::string* unsynced = nullptr);

// The name of the temporary file for `path`.
inline std::string TemporaryFileName(const std::string& path) { return path + ".tmp"; }

}  // namespace plat
