// The game run as a program: copied beside a data folder of our making, started
// headless, stopped with SIGINT once its log shows it running (or left to end
// by itself), judged by its exit code and its log.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/file_opener.h"
#include "test_temp.h"

namespace fs = std::filesystem;

namespace {

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_ = std::make_unique<test_temp::TempDir>("start");
        root_ = temp_->Path();
        fs::create_directories(root_ / "game" / "data");
        fs::create_directories(root_ / "user");
        fs::copy_file(fs::path(VOVARO_BINARY_DIR) / "vovaro", root_ / "game" / "vovaro");
    }
    void TearDown() override { temp_.reset(); }

    // Environment changes of one run on top of the default one (user folder and
    // lock under root_/user, headless); an empty value removes the variable.
    using Env = std::vector<std::pair<std::string, std::string>>;

    // Starts the game; its standard error goes to root_/stderr.txt.
    pid_t StartGame(const std::vector<std::string>& args = {}, const Env& env = {}) {
        pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_DATA_HOME", (root_ / "user").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", (root_ / "user").c_str(), 1);
            ::setenv("SDL_VIDEODRIVER", "dummy", 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            ::unsetenv("DISPLAY");
            for (const auto& [name, value] : env) {
                if (value.empty()) ::unsetenv(name.c_str());
                else ::setenv(name.c_str(), value.c_str(), 1);
            }
            if (std::FILE* err = std::fopen((root_ / "stderr.txt").c_str(), "w")) ::dup2(::fileno(err), 2);
            std::string exe = (root_ / "game" / "vovaro").string();
            std::vector<char*> argv {exe.data()};
            std::vector<std::string> copies = args;
            for (auto& a : copies) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(exe.c_str(), argv.data());
            ::_exit(127);
        }
        return pid;
    }
    // Generous for a busy machine: a run that takes this long has failed.
    static constexpr auto kLimit = std::chrono::seconds(120);
    // The line the game logs once its main loop runs (the menu's first scene).
    static constexpr const char* kRunning = "Initializing GAME MENU...";

    // Sends SIGINT once the game has logged `line` into `log` (or at the
    // limit), unless it ended before; returns its exit status.
    static int StopWhenLogged(pid_t pid, const fs::path& log, const std::string& line = kRunning) {
        const auto end = std::chrono::steady_clock::now() + kLimit;
        int status = 0;
        while (std::chrono::steady_clock::now() < end && ReadFile(log).find(line) == std::string::npos) {
            if (::waitpid(pid, &status, WNOHANG) == pid) return ExitStatus(status);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::kill(pid, SIGINT);
        ::waitpid(pid, &status, 0);
        return ExitStatus(status);
    }
    // Waits for the game to end by itself (killed at the limit); its exit status.
    static int WaitForExit(pid_t pid) {
        const auto end = std::chrono::steady_clock::now() + kLimit;
        int status = 0;
        while (std::chrono::steady_clock::now() < end) {
            if (::waitpid(pid, &status, WNOHANG) == pid) return ExitStatus(status);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return -1;
    }
    static int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }
    // Runs the game until its main loop runs, then sends SIGINT; returns its
    // exit status. `log`: where its log is, when not in the default user folder.
    int RunGame(const Env& env = {}, const fs::path& log = {}) {
        return StopWhenLogged(StartGame({}, env), log.empty() ? LogPath() : log);
    }
    // Runs the game that is to stop by itself; returns its exit status.
    int RunToExit(const Env& env = {}) { return WaitForExit(StartGame({}, env)); }
    std::string Stderr() const { return ReadFile(root_ / "stderr.txt"); }

    static std::string ReadFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path LogPath() const { return root_ / "user" / "Korv" / "Tolvan Vovaro" / "log.html"; }
    std::string Log() const { return ReadFile(LogPath()); }
    // Every file beside the game and in its data tree, to see that a run wrote none.
    std::vector<std::string> GameFiles() const {
        std::vector<std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(root_ / "game"))
            files.push_back(fs::relative(e.path(), root_ / "game").string());
        std::sort(files.begin(), files.end());
        return files;
    }
    // The files of GameFiles that were not there `before`, one name a line.
    std::string NewGameFiles(const std::vector<std::string>& before) const {
        std::string added;
        for (const std::string& file : GameFiles())
            if (!std::binary_search(before.begin(), before.end(), file)) added += file + "\n";
        return added;
    }

    std::unique_ptr<test_temp::TempDir> temp_;
    fs::path root_;
};

TEST_F(StartUpTest, RunsFromTheDataTreeAndEndsCleanlyOnInterrupt) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    EXPECT_EQ(RunGame(), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("Running game..."), std::string::npos);
    EXPECT_NE(log.find("Memory status"), std::string::npos);
    EXPECT_NE(log.find("Graph base 'Settings\\Bases\\Balls.XML' loaded"), std::string::npos) << log;
    EXPECT_NE(log.find("Graph base 'Settings\\Bases\\Tiles.XML' loaded"), std::string::npos);
    EXPECT_NE(log.find("Game Finished."), std::string::npos);
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_TRUE(fs::exists(root_ / "user" / "Korv" / "Tolvan Vovaro" / "Config.xml"));
    EXPECT_TRUE(fs::exists(root_ / "user" / "Korv" / "Tolvan Vovaro" / "profile.db"));
}

// Only the package that our packer made of the tree's XML files: the settings,
// screen bounds, languages and profile data are all read from it, and the
// settings come out exactly as from the tree (the player's Config.xml, written
// from them at start-up, is the same byte for byte).
TEST_F(StartUpTest, ReadsItsSettingsFromAPackageAlone) {
    const fs::path data = root_ / "game" / "data";
    const fs::path config = root_ / "user" / "Korv" / "Tolvan Vovaro" / "Config.xml";
    const std::string pack = "\"" + (fs::path(VOVARO_BINARY_DIR) / "tools" / "pakbuild" / "pakbuild").string() +
                             "\" \"" + std::string(VOVARO_DATA_DIR) + "\" \"" + (data / "Data.pak").string() +
                             "\" .xml > /dev/null";
    ASSERT_EQ(std::system(pack.c_str()), 0) << pack;
    ASSERT_EQ(std::distance(fs::directory_iterator(data), fs::directory_iterator()), 1) << "Data.pak alone";

    EXPECT_EQ(RunGame(), 0);
    std::string log = Log();
    EXPECT_NE(log.find("Game Finished."), std::string::npos);
    EXPECT_EQ(log.find("Failed to open XML file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Exception raised"), std::string::npos) << log;
    EXPECT_TRUE(fs::exists(root_ / "user" / "Korv" / "Tolvan Vovaro" / "profile.db"));
    const std::string from_package = ReadFile(config);
    EXPECT_NE(from_package.find("<Options "), std::string::npos) << from_package;

    // The same start from the tree itself, by a new player.
    fs::remove_all(root_ / "user");
    fs::create_directories(root_ / "user");
    fs::remove(data / "Data.pak");
    fs::copy(VOVARO_DATA_DIR, data, fs::copy_options::recursive);
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(ReadFile(config), from_package);
}

// A data tree without its settings: the failure is logged with its place and
// the program ends with 1 before it opens a window.
TEST_F(StartUpTest, WithoutSettingsItStopsWithTheErrorLogged) {
    fs::create_directories(root_ / "game" / "data" / "Settings");
    EXPECT_EQ(RunToExit(), 1);
    const std::string log = Log();
    EXPECT_NE(log.find("Error: Failed to open XML file 'ConfigDef.xml'!"), std::string::npos) << log;
    EXPECT_NE(log.find("Error: Exception raised. Error opening xml! (WinMain)"), std::string::npos) << log;
    EXPECT_EQ(log.find("D3DDevice initialization."), std::string::npos);
}

// A data tree without the balls' graph base: the start-up names the file,
// says the game cannot start and ends with 1.
TEST_F(StartUpTest, WithoutTheBallsBaseItStopsWithTheErrorLogged) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    ASSERT_TRUE(fs::remove(root_ / "game" / "data" / "Settings" / "Bases" / "Balls.XML"));
    EXPECT_EQ(RunToExit(), 1);
    const std::string log = Log();
    EXPECT_NE(log.find("Error: Failed to open XML file 'Settings\\Bases\\Balls.XML'!"), std::string::npos) << log;
    EXPECT_NE(log.find("Error: The field's data could not be loaded, the game cannot start!"), std::string::npos);
    EXPECT_EQ(log.find("Game Finished."), std::string::npos);
}

}  // namespace

namespace {

// A profile database that SQLite cannot read is set aside, logged, and a new
// one is made: the game starts.
TEST_F(StartUpTest, ADamagedProfileDatabaseIsSetAsideAndTheGameStarts) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    const fs::path user = root_ / "user" / "Korv" / "Tolvan Vovaro";
    fs::create_directories(user);
    const std::string garbage(4096, 'G');
    {
        std::ofstream out(user / "profile.db", std::ios::binary);
        out << garbage;
    }
    EXPECT_EQ(RunGame(), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("Error: profile database 'profile.db' is damaged (file is not a database); kept as "
                       "'profile.db.damaged-"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Game Finished."), std::string::npos) << log;
    EXPECT_EQ(log.find("Exception raised"), std::string::npos) << log;
    int kept = 0;
    for (const auto& e : fs::directory_iterator(user)) {
        if (e.path().filename().string().rfind("profile.db.damaged-", 0) != 0) continue;
        ++kept;
        EXPECT_EQ(ReadFile(e.path()), garbage);
    }
    EXPECT_EQ(kept, 1);
    EXPECT_NE(ReadFile(user / "profile.db"), garbage);
}

}  // namespace

namespace {

// A fresh account: HOME is an empty folder and XDG_DATA_HOME is not set. The
// whole path below HOME is made, and nothing is written into the data tree.
TEST_F(StartUpTest, AFreshAccountGetsItsFolderUnderHome) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    fs::create_directories(root_ / "home");
    const fs::path user = root_ / "home" / ".local" / "share" / "Korv" / "Tolvan Vovaro";
    EXPECT_EQ(RunGame({{"HOME", (root_ / "home").string()}, {"XDG_DATA_HOME", ""}}, user / "log.html"), 0) << Stderr();
    const std::string log = ReadFile(user / "log.html");
    EXPECT_NE(log.find("Game Finished."), std::string::npos) << log;
    EXPECT_TRUE(fs::exists(user / "Config.xml"));
    EXPECT_TRUE(fs::exists(user / "profile.db"));
    for (const char* name : {"log.html", "profile.db"}) EXPECT_FALSE(fs::exists(root_ / "game" / "data" / name)) << name;
    EXPECT_EQ(ReadFile(root_ / "game" / "data" / "Config.xml"), ReadFile(fs::path(VOVARO_DATA_DIR) / "Config.xml"))
        << "the shipped copy stays as shipped";
}

// A user folder that cannot be made (its base is a file) and a lock file that
// cannot be opened are each said in one line, with their own exit codes.
TEST_F(StartUpTest, AnUnusableUserFolderOrLockFileIsSaidPlainly) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    std::ofstream(root_ / "plain_file") << "x";
    const std::vector<std::string> shipped = GameFiles();
    EXPECT_EQ(RunToExit({{"XDG_DATA_HOME", (root_ / "plain_file" / "share").string()}}), 2);
    EXPECT_EQ(NewGameFiles(shipped), "") << "the refusal is not logged beside the data";
    std::string err = Stderr();
    EXPECT_NE(err.find("Error: cannot use the user folder '" + (root_ / "plain_file" / "share").string() +
                       "/Korv/Tolvan Vovaro': "),
              std::string::npos)
        << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    EXPECT_EQ(RunToExit({{"XDG_RUNTIME_DIR", (root_ / "no_such_folder").string()}}), 3);
    err = Stderr();
    EXPECT_NE(err.find("Error: cannot open the lock file '" + (root_ / "no_such_folder").string()), std::string::npos)
        << err;
    EXPECT_EQ(err.find("already run"), std::string::npos) << err;
    const std::string log = Log();
    EXPECT_NE(log.find("Error: cannot open the lock file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Running game..."), std::string::npos) << "no run was started";
}

// A second copy is refused before it starts a log: the running copy's log
// keeps its rows and gains the refusal.
TEST_F(StartUpTest, ASecondCopyLeavesTheRunningCopysLogWhole) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    const pid_t first = StartGame();
    const auto deadline = std::chrono::steady_clock::now() + kLimit;
    while (Log().find("Memory status") == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_NE(Log().find("Memory status"), std::string::npos);

    EXPECT_EQ(RunToExit(), 0);
    EXPECT_NE(Stderr().find("Error: Application has already run!"), std::string::npos) << Stderr();
    EXPECT_EQ(StopWhenLogged(first, LogPath()), 0);
    const std::string log = Log();
    const size_t running = log.find("Running game...");
    ASSERT_NE(running, std::string::npos) << log;
    EXPECT_EQ(log.find("Running game...", running + 1), std::string::npos) << "one run's log";
    // The rows the first copy wrote before the second started are all there.
    const size_t report = log.find("Memory status", running);
    ASSERT_NE(report, std::string::npos) << log;
    EXPECT_NE(log.find("Error: Application has already run!", report), std::string::npos) << log;
    EXPECT_NE(log.find("Game Finished."), std::string::npos) << log;
}

}  // namespace

namespace {

// The packer's default package holds what the game reads through its file
// opener (XML and texture images); sounds, music and the effect library stay
// loose beside it, and the game runs from the two without an error.
TEST_F(StartUpTest, TheDefaultPackageAndTheLooseFilesRunTheGame) {
    const fs::path data = root_ / "game" / "data";
    const fs::path pak = data / "Data.pak";
    const std::string pack = "\"" + (fs::path(VOVARO_BINARY_DIR) / "tools" / "pakbuild" / "pakbuild").string() +
                             "\" \"" + std::string(VOVARO_DATA_DIR) + "\" \"" + pak.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(pack.c_str()), 0) << pack;
    const std::vector<std::string> packed = {".xml", ".png", ".jpg", ".jpeg", ".tga", ".bmp", ".dds"};
    int loose = 0;
    for (const auto& e : fs::recursive_directory_iterator(VOVARO_DATA_DIR)) {
        if (!e.is_regular_file()) continue;
        if (std::find(packed.begin(), packed.end(), e.path().extension().string()) != packed.end()) continue;
        const fs::path target = data / fs::relative(e.path(), VOVARO_DATA_DIR);
        fs::create_directories(target.parent_path());
        fs::copy_file(e.path(), target);
        ++loose;
    }
    ASSERT_GT(loose, 0);

    // Read from an empty folder, so nothing is found on disk.
    const fs::path saved = fs::current_path();
    fs::create_directories(root_ / "empty");
    fs::current_path(root_ / "empty");
    CFileOpener opener(pak.string());
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(opener.IsPackageUsable());
    EXPECT_TRUE(opener.ReadFile("Settings\\Samples.xml", bytes));
    EXPECT_TRUE(opener.ReadFile("Textures\\Common\\square.tga", bytes));
    EXPECT_FALSE(opener.ReadFile("Music\\game.xm", bytes));
    EXPECT_FALSE(opener.ReadFile("Textures\\Plume\\Effects.plume", bytes));
    fs::current_path(saved);

    EXPECT_EQ(RunGame(), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("Game Finished."), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

}  // namespace

namespace {

// A broken episode list ends the run as a failed start, never as a success.
TEST_F(StartUpTest, ABrokenEpisodeListEndsWithTheStartFailureCode) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    std::ofstream(root_ / "game" / "data" / "Levels" / "Episodes.xml", std::ios::trunc) << "<Episodes><broken";
    EXPECT_EQ(RunToExit(), 1);
    const std::string log = Log();
    EXPECT_NE(log.find("Error: Exception raised. XML parse error! (WinMain)"), std::string::npos) << log;
    EXPECT_EQ(log.find("Game Finished."), std::string::npos) << log;
}

// Without its music list the game starts, runs silent and ends normally.
TEST_F(StartUpTest, AMissingMusicListLeavesTheGameSilentNotStopped) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    ASSERT_TRUE(fs::remove(root_ / "game" / "data" / "Settings" / "Music.xml"));
    EXPECT_EQ(RunGame(), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("Error: the music list 'Settings\\Music.xml' cannot be read; the game plays without music."),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("(WinMain)"), std::string::npos) << log;
    EXPECT_NE(log.find("Game Finished."), std::string::npos) << log;
}

// The user folder removed while the game runs: to the end of the run nothing
// is written beside the game or into its data, the lost log is said once on
// standard error, and the folder is not made again.
TEST_F(StartUpTest, AUserFolderRemovedWhileRunningGetsNothingWrittenElsewhere) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    const std::vector<std::string> shipped = GameFiles();
    const pid_t game = StartGame();
    const auto deadline = std::chrono::steady_clock::now() + kLimit;
    while (Log().find(kRunning) == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_NE(Log().find(kRunning), std::string::npos) << Log();
    fs::remove_all(root_ / "user" / "Korv");

    ::kill(game, SIGINT);
    EXPECT_EQ(WaitForExit(game), 0) << Stderr();
    EXPECT_EQ(NewGameFiles(shipped), "");
    EXPECT_FALSE(fs::exists(root_ / "user" / "Korv"));
    const std::string err = Stderr();
    EXPECT_NE(err.find("log.html' cannot be written; its messages are lost."), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

}  // namespace

namespace {

// An X server of the test's own (Xvfb, on a display number it picks itself),
// for as long as the object lives or until killed.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        _pid = ::fork();
        if (_pid == 0) {
            ::close(fds[0]);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // The server writes its display number once it takes connections.
        std::string number;
        pollfd p {fds[0], POLLIN, 0};
        char c = 0;
        while (::poll(&p, 1, 20000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (!number.empty()) _name = ":" + number;
    }
    ~VirtualDisplay() { Kill(); }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Started() const { return !_name.empty(); }
    const std::string& Name() const { return _name; }
    void Kill() {
        if (_pid <= 0) return;
        ::kill(_pid, SIGKILL);
        ::waitpid(_pid, nullptr, 0);
        _pid = -1;
    }

private:
    pid_t _pid = -1;
    std::string _name;
};

// The X server under a running game goes away: the game ends at once with a
// line in its log and on standard error and a failure code, and a new start
// is not refused as a second copy.
TEST_F(StartUpTest, ALostDisplayEndsTheGameAndLetsANewOneStart) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    VirtualDisplay display;
    if (!display.Started()) GTEST_SKIP() << "no Xvfb to run the game on";
    const pid_t game = StartGame({}, {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", display.Name()}});
    const auto running = std::chrono::steady_clock::now() + kLimit;
    while (Log().find(kRunning) == std::string::npos && std::chrono::steady_clock::now() < running)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_NE(Log().find(kRunning), std::string::npos) << Log();

    display.Kill();
    const auto gone = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    bool ended = false;
    while (!ended && std::chrono::steady_clock::now() < gone) {
        ended = ::waitpid(game, &status, WNOHANG) == game;
        if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ended) {
        ::kill(game, SIGKILL);
        ::waitpid(game, &status, 0);
    }
    ASSERT_TRUE(ended) << "the game outlived its display";
    EXPECT_EQ(ExitStatus(status), 1);
    const std::string line = "Error: the connection to the display was lost; the game ends.";
    EXPECT_NE(Log().find(line), std::string::npos) << Log();
    const std::string err = Stderr();
    EXPECT_NE(err.find(line), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    fs::remove(LogPath());  // the new run's log shows when it runs
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(Stderr().find("already run"), std::string::npos) << Stderr();
    EXPECT_NE(Log().find(kRunning), std::string::npos) << Log();
}

// A DISPLAY that names no server: SDL would fall back to a driver that shows
// nothing and the game would run unseen, holding its lock. It is refused in
// one line, unless SDL_VIDEODRIVER asks for such a driver (as the tests do).
TEST_F(StartUpTest, WithoutADisplayThatAnswersTheGameRefusesToRunUnseen) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    int number = 250;
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
           fs::exists("/tmp/.X" + std::to_string(number) + "-lock"))
        ++number;
    // In a build with LeakSanitizer, the session bus's own leftovers would join
    // the one line on stderr; the game's own leaks are still reported.
    const char* lsan = std::getenv("LSAN_OPTIONS");
    const std::string lsan_options = (lsan && *lsan ? std::string(lsan) + ":" : std::string()) +
                                     "suppressions=" VOVARO_SOURCE_DIR "/tests/frontend/lsan_suppressions.txt"
                                     ":print_suppressions=0";
    EXPECT_EQ(RunToExit({{"SDL_VIDEODRIVER", ""},
                         {"WAYLAND_DISPLAY", ""},
                         {"DISPLAY", ":" + std::to_string(number)},
                         {"LSAN_OPTIONS", lsan_options}}),
              1);
    const std::string err = Stderr();
    EXPECT_NE(err.find("Error: no display answers (DISPLAY=\":" + std::to_string(number) + "\")"), std::string::npos)
        << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(Log().find("Error: no display answers"), std::string::npos) << Log();
    EXPECT_EQ(Log().find(kRunning), std::string::npos) << Log();
}

}  // namespace
