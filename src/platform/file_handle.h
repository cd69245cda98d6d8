#pragma once
// A C stdio file that closes itself when its owner goes away.
#include <cstdio>
#include <memory>

namespace plat {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Closes the file now; true when everything written to it reached the file
// (closing flushes, so a full disk shows here).
inline bool CloseFile(UniqueFile& f) { return f && std::fclose(f.release()) == 0; }

}  // namespace plat
