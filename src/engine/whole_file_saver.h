#pragma once
// The engine's writers store their files whole through plat::WriteWholeFile;
// here a folder that could not be synced after the rename is logged, and the
// save still counts, since the new file is in place.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

// True when `path` now holds what `write` wrote; else false with the reason in *error.
bool SaveWholeFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error);
// The same for content that is ready in memory.
bool SaveWholeFile(const std::string& path, const void* data, size_t size, std::string* error);
