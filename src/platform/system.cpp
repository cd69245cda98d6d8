#include "platform/system.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#endif

#include "platform/whole_file_writer.h"

namespace fs = std::filesystem;

namespace plat {

namespace {
const auto g_start = std::chrono::steady_clock::now();

uint64_t MillisecondsSinceStart() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - g_start)
                                     .count());
}
}  // namespace

uint32_t TimeGetTime() { return static_cast<uint32_t>(MillisecondsSinceStart()); }
uint32_t GetTickCount() { return static_cast<uint32_t>(MillisecondsSinceStart()); }

void Sleep(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void SleepUntil(uint32_t deadline) {
    const uint64_t now = MillisecondsSinceStart();
    const auto ahead = static_cast<int32_t>(deadline - static_cast<uint32_t>(now));
    if (ahead <= 0) return;
    // An absolute wake-up on the monotonic clock: a signal that cuts the sleep
    // short resumes it towards the same instant.
    const auto wake = g_start + std::chrono::milliseconds(now + static_cast<uint64_t>(ahead));
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wake.time_since_epoch()).count();
    timespec ts {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

std::tm LocalTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm t {};
    localtime_r(&now, &t);
    return t;
}

std::string UserDataBase() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share";
    return {};
}

std::string ExecutableDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return GetCurrentDir();
    return exe.parent_path().string();
}

std::string GetCurrentDir() {
    std::error_code ec;
    auto p = fs::current_path(ec);
    return ec ? std::string() : p.string();
}

bool SetCurrentDir(const std::string& path) {
    if (path.empty()) return false;
    return ::chdir(path.c_str()) == 0;
}

bool CreateDirs(const std::string& path, std::string* error) {
    std::error_code ec;
    fs::create_directories(path, ec);
    std::error_code is_dir_ec;
    if (fs::is_directory(path, is_dir_ec)) return true;
    if (error) *error = ec ? ec.message() : std::string("not a folder");
    return false;
}

bool IsWritableDir(const std::string& path, std::string* error) {
    if (::access(path.c_str(), W_OK | X_OK) == 0) return true;
    if (error) *error = std::strerror(errno);
    return false;
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

bool CopyFileNoOverwrite(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (fs::exists(to, ec)) return false;
    // Copied aside and renamed in: a copy cut short (a full disk) never
    // leaves a part of the file under its name.
    const std::string temp = TemporaryFileName(to);
    if (!fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec) || ec) {
        fs::remove(temp, ec);
        return false;
    }
    fs::rename(temp, to, ec);
    if (!ec) return true;
    fs::remove(temp, ec);
    return false;
}

SingleInstanceLock::SingleInstanceLock(const std::string& name) {
    std::string dir;
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run) dir = run;
    else dir = "/tmp";
    _path = dir + "/" + name + "-" + std::to_string(::getuid()) + ".lock";
    _fd = ::open(_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (_fd < 0) {
        _error = std::strerror(errno);
        return;
    }
    if (::flock(_fd, LOCK_EX | LOCK_NB) == 0) {
        _state = State::Acquired;
        return;
    }
    const int lock_errno = errno;
    ::close(_fd);
    _fd = -1;
    if (lock_errno == EWOULDBLOCK) {
        _state = State::HeldElsewhere;
    } else {
        _error = std::strerror(lock_errno);
    }
}

SingleInstanceLock::~SingleInstanceLock() {
    if (_fd >= 0) {
        ::flock(_fd, LOCK_UN);
        ::close(_fd);
    }
}

bool OpenWebPage(const std::string& url) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!display || !*display) && (!wayland || !*wayland)) return false;
    pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        // Detach so that the browser outlives us and leaves no zombie behind.
        if (::fork() == 0) {
            int devnull = ::open("/dev/null", O_RDWR);
            if (devnull >= 0) {
                ::dup2(devnull, 1);
                ::dup2(devnull, 2);
            }
            ::execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return true;
}

namespace {
std::string ReadOsRelease() {
    std::ifstream in("/etc/os-release");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            std::string v = line.substr(12);
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
            return v;
        }
    }
    return {};
}
}  // namespace

SystemReport QuerySystem() {
    SystemReport r;
    struct utsname u {};
    if (::uname(&u) == 0) {
        r.os_name = std::string(u.sysname) + " " + u.release + " " + u.machine;
        std::string distro = ReadOsRelease();
        if (!distro.empty()) r.os_name += " (" + distro + ")";
    }
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0, &a, &b, &c, &d)) {
        char vendor[13] = {};
        std::memcpy(vendor, &b, 4);
        std::memcpy(vendor + 4, &d, 4);
        std::memcpy(vendor + 8, &c, 4);
        r.cpu_vendor = vendor;
        unsigned max_leaf = a;
        if (max_leaf >= 1 && __get_cpuid(1, &a, &b, &c, &d)) r.has_tsc = (d & (1u << 4)) != 0;
    }
#endif
    struct sysinfo si {};
    if (::sysinfo(&si) == 0) {
        uint64_t unit = si.mem_unit ? si.mem_unit : 1;
        r.phys_total = si.totalram * unit;
        r.phys_free = (si.freeram + si.bufferram) * unit;
        r.swap_total = si.totalswap * unit;
        r.swap_free = si.freeswap * unit;
    }
    return r;
}

uint64_t ReadTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return 0;
#endif
}

}  // namespace plat
