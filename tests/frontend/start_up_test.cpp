// The game run as a program: copied beside a data folder of our making, started
// headless, stopped with SIGINT, judged by its exit code and its log.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>


namespace fs = std::filesystem;

namespace {

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() / ("vovaro_start_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "game" / "data");
        fs::create_directories(root_ / "user");
        fs::copy_file(fs::path(VOVARO_BINARY_DIR) / "vovaro", root_ / "game" / "vovaro");
    }
    void TearDown() override { fs::remove_all(root_); }

    // Runs the game for `seconds`, then sends SIGINT; returns its exit status.
    int RunGame(double seconds, const std::vector<std::string>& args = {}) {
        pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_DATA_HOME", (root_ / "user").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", (root_ / "user").c_str(), 1);
            ::setenv("SDL_VIDEODRIVER", "dummy", 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            ::unsetenv("DISPLAY");
            std::string exe = (root_ / "game" / "vovaro").string();
            std::vector<char*> argv {exe.data()};
            std::vector<std::string> copies = args;
            for (auto& a : copies) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(exe.c_str(), argv.data());
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        ::kill(pid, SIGINT);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    static std::string ReadFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::string Log() const { return ReadFile(root_ / "user" / "Korv" / "Tolvan Vovaro" / "log.html"); }

    fs::path root_;
};

TEST_F(StartUpTest, RunsFromTheDataTreeAndEndsCleanlyOnInterrupt) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    EXPECT_EQ(RunGame(2.5), 0);
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

    EXPECT_EQ(RunGame(2.0), 0);
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
    EXPECT_EQ(RunGame(2.0), 0);
    EXPECT_EQ(ReadFile(config), from_package);
}

// A data tree without its settings: the failure is logged with its place and
// the program ends with 1 before it opens a window.
TEST_F(StartUpTest, WithoutSettingsItStopsWithTheErrorLogged) {
    fs::create_directories(root_ / "game" / "data" / "Settings");
    EXPECT_EQ(RunGame(1.0), 1);
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
    EXPECT_EQ(RunGame(2.0), 1);
    const std::string log = Log();
    EXPECT_NE(log.find("Error: Failed to open XML file 'Settings\\Bases\\Balls.XML'!"), std::string::npos) << log;
    EXPECT_NE(log.find("Error: The field's data could not be loaded, the game cannot start!"), std::string::npos);
    EXPECT_EQ(log.find("Game Finished."), std::string::npos);
}

}  // namespace

namespace {

// A profile database that cannot be read: the store's error and its place are
// logged and the program ends with 1, leaving the file as it was.
TEST_F(StartUpTest, AnUnreadableProfileDatabaseStopsWithTheErrorLogged) {
    fs::copy(VOVARO_DATA_DIR, root_ / "game" / "data", fs::copy_options::recursive);
    const fs::path user = root_ / "user" / "Korv" / "Tolvan Vovaro";
    fs::create_directories(user);
    const std::string garbage(4096, 'G');
    {
        std::ofstream out(user / "profile.db", std::ios::binary);
        out << garbage;
    }
    EXPECT_EQ(RunGame(2.0), 1);
    const std::string log = Log();
    EXPECT_NE(log.find("Error: DataBase exception raised! file is not a database"), std::string::npos) << log;
    EXPECT_NE(log.find("Error: Exception raised. file is not a database (WinMain)"), std::string::npos) << log;
    std::ifstream in(user / "profile.db", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), garbage);
}

}  // namespace
