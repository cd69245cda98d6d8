#pragma once
// System services the game needs from the operating system: clocks, sleeping,
// folders and files, the single-instance lock, opening a web page and the
// facts of the machine for the start-up report.
#include <cstdint>
#include <ctime>
#include <string>

namespace plat {

// Milliseconds of a monotonic clock, wrapping at 2^32 like a multimedia timer.
uint32_t TimeGetTime();
// Milliseconds since start, the tick count used by dialogs and menus.
uint32_t GetTickCount();
void Sleep(uint32_t ms);
// Sleeps until TimeGetTime() reaches `deadline` (taken as up to 2^31 ms ahead;
// one already passed returns at once). The wake-up is the deadline's own
// instant, not a whole number of coarse ticks after the call.
void SleepUntil(uint32_t deadline);
// The local calendar time now.
std::tm LocalTimeNow();

// The base of per-user data: $XDG_DATA_HOME, else $HOME/.local/share; empty when
// neither can be found.
std::string UserDataBase();
// The folder that holds the running executable (with no trailing slash).
std::string ExecutableDir();

std::string GetCurrentDir();
bool SetCurrentDir(const std::string& path);
// Creates the folder and every missing parent; an existing folder counts as
// success. On failure `error` (may be null) says why.
bool CreateDirs(const std::string& path, std::string* error);
// True when files can be created in the folder; otherwise `error` says why.
bool IsWritableDir(const std::string& path, std::string* error);
bool PathExists(const std::string& path);
// Copies `from` to `to` when `to` does not exist; a failed copy leaves no `to`.
bool CopyFileNoOverwrite(const std::string& from, const std::string& to);

// Holds an exclusive lock file for as long as it lives. Acquired() tells
// whether this process is the only instance; a lock file that cannot be opened
// or locked is Unavailable (with the reason), not taken by another instance.
class SingleInstanceLock {
public:
    enum class State { Acquired, HeldElsewhere, Unavailable };

    explicit SingleInstanceLock(const std::string& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    bool Acquired() const { return _state == State::Acquired; }
    State GetState() const { return _state; }
    const std::string& Path() const { return _path; }
    const std::string& Error() const { return _error; }

private:
    int _fd = -1;
    State _state = State::Unavailable;
    std::string _path;
    std::string _error;
};

// Opens a page in the desktop's browser when a desktop is there; false otherwise.
bool OpenWebPage(const std::string& url);

struct SystemReport {
    std::string os_name;        // e.g. "Linux 6.1.0 x86_64 (Debian GNU/Linux 12)"
    std::string cpu_vendor;     // 12 characters of the processor's vendor text
    bool has_tsc = false;
    uint64_t phys_total = 0, phys_free = 0, swap_total = 0, swap_free = 0;  // bytes
};
SystemReport QuerySystem();
// Reads the processor's time-stamp counter (0 when there is none).
uint64_t ReadTimeStampCounter();

}  // namespace plat
