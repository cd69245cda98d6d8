#pragma once
// A full disk for the life of a block: files of this process cannot grow past
// `bytes` (a write beyond fails with EFBIG, as one on a full disk fails with
// ENOSPC), and the signal such a write raises is ignored. Both come back after.
#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &_saved);
        _saved_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = _saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &_saved);
        std::signal(SIGXFSZ, _saved_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit _saved {};
    void (*_saved_handler)(int) = SIG_DFL;
};
