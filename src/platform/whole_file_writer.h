#pragma once
// Writes a file whole without ever leaving a half-written one: the content goes
// to "<path>.tmp" beside it, reaches the disk, takes the old file's permission
// bits and is renamed over the old file; then the folder is synced, so that a
// power cut leaves the old file or the new one. A write that fails (a full
// disk, a vanished folder, an exception from the write callback, which passes
// on) removes the temporary file and keeps the old one as it was.
#include <cstdio>
#include <functional>
#include <string>

namespace plat {

// `write` fills the open temporary file and answers whether it could. True
// when the file at `path` now holds the new content and its folder names it
// on the disk; else false with the reason in *error.
bool WriteWholeFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error);

// The same for content that is ready in memory.
bool WriteWholeFile(const std::string& path, const void* data, size_t size, std::string* error);

// The name of the temporary file for `path`.
inline std::string TemporaryFileName(const std::string& path) { return path + ".tmp"; }

}  // namespace plat
