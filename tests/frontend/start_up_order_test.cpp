// The program's start and end run on a host of fakes: the order of the steps,
// the command line, the screen centre, the active player, the failures and
// their exit codes, and the statistics page at the end.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/data_test_support.h"
#include "frontend/start_up.h"
#include "profiles/app_params.h"
#include "profiles/game_settings.h"
#include "profiles/game_start_request.h"

namespace {

class FakeHost : public IStartUpHost {
public:
    std::vector<std::string> calls;
    Instance instance = Instance::Acquired;
    bool settings_ok = true;
    bool keys = false;
    int32_t settings_player = 0;
    int32_t left_bound = 0, right_bound = 800;
    bool bounds_throw = false;
    bool core_ok = true;
    bool profiles_throw = false;
    uint32_t player_count = 2;
    uint32_t active_player = 99;
    int url_error = 0;
    std::string opened_url;

    bool PrepareUserFolder() override { return Add("folder"); }
    void InstallFaultTranslation() override { Add("faults"); }
    Instance AcquireInstance() override {
        Add("instance");
        return instance;
    }
    void ReleaseInstance() override { Add("release"); }
    bool LoadSettings(GameOptions& options) override {
        Add("settings");
        options.keys = keys;
        options.player = settings_player;
        return settings_ok;
    }
    void ReadScreenBounds(int32_t& left, int32_t& right) override {
        Add("bounds");
        if (bounds_throw) throw std::runtime_error("Error opening xml!");
        left = left_bound;
        right = right_bound;
    }
    void LogSystemReport() override { Add("report"); }
    bool InitCore(bool) override {
        Add("core");
        return core_ok;
    }
    void OpenProfiles() override {
        Add("profiles");
        if (profiles_throw) throw std::runtime_error("unable to open database file");
    }
    void SetWindowModeCallback() override { Add("callback"); }
    uint32_t GetPlayerCount() override { return player_count; }
    void SetActivePlayer(uint32_t index) override {
        Add("player");
        active_player = index;
    }
    bool RunGame(const GameOptions&) override { return Add("game"); }
    std::string GetStatsPageUrl() const override { return "file:///game/stats/tolvanpuzzle.html"; }
    int OpenWebPage(const std::string& url) override {
        Add("page");
        opened_url = url;
        return url_error;
    }
    void Sleep(uint32_t) override { Add("sleep"); }

    bool Called(const std::string& name) const {
        for (const auto& c : calls)
            if (c == name) return true;
        return false;
    }

private:
    bool Add(const std::string& name) {
        calls.push_back(name);
        return true;
    }
};

class StartUpOrderTest : public data_test::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        g_GameStartRequest = GameStartRequest();
        g_AppParams = CAppParams();
    }
    void TearDown() override {
        g_GameStartRequest = GameStartRequest();
        g_AppParams = CAppParams();
        ScratchTest::TearDown();
    }
    FakeHost host;
};

TEST_F(StartUpOrderTest, RunsEveryStepInOrderAndEndsWithThePage) {
    EXPECT_EQ(RunStartUp(host, ""), kExitOk);
    const std::vector<std::string> order = {"folder", "faults", "instance", "settings", "bounds",
                                            "report", "core",   "profiles", "callback", "player",
                                            "game",   "release", "page",    "sleep"};
    EXPECT_EQ(host.calls, order);
    EXPECT_EQ(host.opened_url, "file:///game/stats/tolvanpuzzle.html");
    const std::string log = NewLog();
    const size_t running = log.find("Running game...");
    ASSERT_NE(running, std::string::npos) << log;
    EXPECT_NE(log.find("Game Finished.", running), std::string::npos) << log;
    EXPECT_EQ(log.find("Fail 'open' launch"), std::string::npos) << log;
}

// Each failure stops the start where the table says, with its exit code.
TEST_F(StartUpOrderTest, FailuresStopTheStartWithTheirExitCodes) {
    struct Case {
        const char* name;
        void (*arrange)(FakeHost&);
        int exit_code;
        const char* last_step;
        const char* line;  // logged, or null
    };
    const Case cases[] = {
        {"second instance", [](FakeHost& h) { h.instance = IStartUpHost::Instance::HeldElsewhere; }, kExitOk,
         "instance", nullptr},
        {"lock file", [](FakeHost& h) { h.instance = IStartUpHost::Instance::Unavailable; }, kExitLockFile,
         "instance", nullptr},
        {"settings", [](FakeHost& h) { h.settings_ok = false; }, kExitStartFailed, "settings",
         "Error: Exception raised. Fatal error! (WinMain)"},
        {"screen bounds", [](FakeHost& h) { h.bounds_throw = true; }, kExitStartFailed, "bounds",
         "Error: Exception raised. Error opening xml! (WinMain)"},
        {"core", [](FakeHost& h) { h.core_ok = false; }, kExitStartFailed, "core",
         "Error: Exception raised. Failed to initialize core! (WinMain)"},
        {"profiles", [](FakeHost& h) { h.profiles_throw = true; }, kExitStartFailed, "profiles",
         "Error: Exception raised. unable to open database file (WinMain)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost h;
        c.arrange(h);
        const size_t mark = data_test::ReadLog().size();
        EXPECT_EQ(RunStartUp(h, ""), c.exit_code);
        ASSERT_FALSE(h.calls.empty());
        EXPECT_EQ(h.calls.back(), c.last_step);
        EXPECT_FALSE(h.Called("game"));
        const std::string log = data_test::ReadLog().substr(mark);
        if (c.line) {
            EXPECT_NE(log.find(c.line), std::string::npos) << log;
        }
        EXPECT_EQ(log.find("Game Finished."), std::string::npos) << log;
    }
    // Another instance stops before the log of this run begins.
    FakeHost second;
    second.instance = IStartUpHost::Instance::HeldElsewhere;
    const size_t mark = data_test::ReadLog().size();
    RunStartUp(second, "");
    EXPECT_EQ(data_test::ReadLog().substr(mark).find("Running game..."), std::string::npos);
}

TEST_F(StartUpOrderTest, APageThatDoesNotOpenIsLoggedAndTheProgramStillEndsWell) {
    host.url_error = 5;
    EXPECT_EQ(RunStartUp(host, ""), kExitOk);
    EXPECT_NE(NewLog().find("Fail 'open' launch file:///game/stats/tolvanpuzzle.html: error 5"), std::string::npos)
        << NewLog();
    EXPECT_EQ(host.calls.back(), "sleep");
}

TEST_F(StartUpOrderTest, TheCentreLiesHalfWayBetweenTheBounds) {
    const struct {
        int32_t left, right, centre;
    } cases[] = {{0, 800, 400}, {261, 800, 530}, {0, 0, 0}, {-3, 0, -2}};
    for (const auto& c : cases) {
        FakeHost h;
        h.left_bound = c.left;
        h.right_bound = c.right;
        RunStartUp(h, "");
        EXPECT_EQ(g_AppParams.centre, c.centre) << c.left << ".." << c.right;
        EXPECT_EQ(g_AppParams.left_bound, c.left);
        EXPECT_EQ(g_AppParams.right_bound, c.right);
    }
}

TEST_F(StartUpOrderTest, TheCommandLineCountsOnlyWithTheKeysOn) {
    const struct {
        bool keys;
        const char* line;
        int32_t episode, level, third;
    } cases[] = {
        {true, "2 3 500", 2, 3, 500},
        {true, "4", 4, 0, 0},
        {true, "1 7", 1, 7, 0},
        {true, "", GameStartRequest::kNoEpisode, 0, 0},
        {true, "x 3 5", GameStartRequest::kNoEpisode, 0, 0},
        {false, "2 3 500", GameStartRequest::kNoEpisode, 0, 0},
    };
    for (const auto& c : cases) {
        g_GameStartRequest = GameStartRequest();
        g_AppParams = CAppParams();
        FakeHost h;
        h.keys = c.keys;
        EXPECT_EQ(RunStartUp(h, c.line), kExitOk);
        SCOPED_TRACE(std::string(c.keys ? "keys on: '" : "keys off: '") + c.line + "'");
        EXPECT_EQ(g_GameStartRequest.episode, c.episode);
        EXPECT_EQ(g_GameStartRequest.level, c.level);
        EXPECT_EQ(g_AppParams.third_number, c.third);
        EXPECT_EQ(g_AppParams.keys, c.keys ? 1 : 0);
    }
}

TEST_F(StartUpOrderTest, ThePlayerOfTheSettingsIsActiveOnlyWhenThereIsOne) {
    const struct {
        int32_t settings;
        uint32_t count, active;
    } cases[] = {{1, 2, 1}, {0, 2, 0}, {2, 2, 0}, {7, 2, 0}, {-1, 2, 0}, {0, 0, 0}};
    for (const auto& c : cases) {
        FakeHost h;
        h.settings_player = c.settings;
        h.player_count = c.count;
        RunStartUp(h, "");
        EXPECT_EQ(h.active_player, c.active) << c.settings << " of " << c.count;
    }
}

TEST(StatisticsPageTest, TheOpenerIsNotCalledUnderTheDummyDriver) {
    int calls = 0;
    const UrlOpener opener = [&](const std::string&) {
        ++calls;
        return 7;
    };
    EXPECT_EQ(OpenStatisticsPage("file:///p.html", opener, "dummy"), 0);
    EXPECT_EQ(OpenStatisticsPage("file:///p.html", opener, "DUMMY"), 0);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(OpenStatisticsPage("file:///p.html", opener, "x11"), 7);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(OpenStatisticsPage("file:///p.html", UrlOpener(), "x11"), 0);
}

}  // namespace
