#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine_core_interface.h"
#include "engine/fault_translation.h"
#include "engine/scene_manager.h"
#include "engine/user_folder.h"
#include "platform/system.h"
#include "sanitizers.h"
#include "test_user_folder.h"

namespace {

// Records what the loop asks of the engine core.
class FakeCore : public IEngineCore {
public:
    std::vector<std::string> calls;
    std::vector<float> frame_times;
    std::vector<bool> activations;
    EngineCallback callbacks[3] = {};

    bool Init(bool) override { return true; }
    void Shutdown() override {}
    EngineCallback SetCallback(int type, EngineCallback fn) override {
        calls.push_back("SetCallback" + std::to_string(type));
        EngineCallback prev = callbacks[type];
        callbacks[type] = fn;
        return prev;
    }
    bool BeginFrame() override { calls.push_back("BeginFrame"); return true; }
    bool Clear(uint32_t) override { return true; }
    bool EndFrame() override { calls.push_back("EndFrame"); return true; }
    void OnActivate(bool active) override { activations.push_back(active); }
    int GetScreenWidth() const override { return 800; }
    int GetScreenHeight() const override { return 600; }
    void SetGamma(int) override {}
    void SetWorldTransform(float, float, float) override {}
    plat::Window* GetHWND() const override { return nullptr; }
    bool ToggleFullscreen() override { return false; }
    bool IsFullscreen() const override { return false; }
    CDirect3DHolder* GetDirect3DHolder() override { return nullptr; }
    CGraphicsDevice* GetGraphicsDevice() override { return nullptr; }
    ISoundKeeper* GetSoundKeeper() override { return nullptr; }
    IMouseController* GetMouse() override { return nullptr; }
    IKeyboardController* GetKeyboard() override { return nullptr; }
    IJoystickController* GetJoystick() override { return nullptr; }
    unsigned GetFrameCount() const override { return 0; }
    void ResetFrameStats() override { calls.push_back("ResetFrameStats"); }
    void AddDrawCalls(unsigned) override {}
    void AddQuads(unsigned) override {}
    unsigned GetDrawCalls() const override { return 0; }
    unsigned GetQuads() const override { return 0; }
    float GetFrameTime() const override { return frame_times.empty() ? 0 : frame_times.back(); }
    void SetFrameTime(float s) override { frame_times.push_back(s); }
    void DrawQuads(plat::VertexBuffer*, unsigned, unsigned) override {}
};

// The clock gives the scripted times in turn (the last one from then on).
class ScriptedClock : public IClock {
public:
    std::deque<uint32_t> times;
    uint32_t last = 0;
    std::vector<uint32_t> deadlines;
    uint32_t TimeGetTime() override {
        if (!times.empty()) {
            last = times.front();
            times.pop_front();
        }
        return last;
    }
    void SleepUntil(uint32_t deadline) override { deadlines.push_back(deadline); }
};

// Each poll or wait takes the next scripted entry; an empty entry is an empty
// poll. After the script every read is WM_QUIT.
class ScriptedMessages : public plat::IMessageSource {
public:
    std::deque<std::optional<plat::Message>> script;
    std::vector<plat::Message> dispatched;
    int waits = 0;
    bool PeekMessage(plat::Message* msg) override {
        if (script.empty()) {
            *msg = plat::Message {plat::WM_QUIT, 0, 0};
            return true;
        }
        auto next = script.front();
        script.pop_front();
        if (!next) return false;
        *msg = *next;
        return true;
    }
    void GetMessage(plat::Message* msg) override {
        ++waits;
        // A wait always brings a message: skip empty entries.
        while (!script.empty() && !script.front()) script.pop_front();
        if (!PeekMessage(msg)) *msg = plat::Message {plat::WM_QUIT, 0, 0};
    }
    intptr_t DispatchMessage(const plat::Message& msg) override {
        dispatched.push_back(msg);
        return 0;
    }
};

class TestScene : public AScene {
public:
    explicit TestScene(const std::string& name, std::vector<std::string>* log) : AScene(name), _log(log) {}
    void Reset() override {
        _log->push_back(_name + ".Reset");
        AScene::Reset();
    }
    bool Update() override {
        _log->push_back(_name + ".Update");
        if (on_update) on_update(*this);
        return true;
    }
    void Render() override { _log->push_back(_name + ".Render"); }
    void OnKeyDown(uint16_t key) override { _log->push_back(_name + ".Key" + std::to_string(key)); }
    void Init() override { _log->push_back(_name + ".Init"); }
    void Exit() override { _log->push_back(_name + ".Exit"); }
    void OnActivate(bool a) override { _log->push_back(_name + (a ? ".Active" : ".Inactive")); }

    std::function<void(AScene&)> on_update;

private:
    std::vector<std::string>* _log;
};

// An application over the given scenes, the first one activated at start.
class TestApp : public CSceneManager {
public:
    explicit TestApp(std::vector<AScene*> scenes) : _initial(std::move(scenes)) {}
    void Init() override {
        for (AScene* s : _initial) AddScene(s);
        CSceneManager::Init();
        if (!_initial.empty()) ActivateScene(_initial.front()->GetName());
    }

private:
    std::vector<AScene*> _initial;
};

struct LoopRig {
    FakeCore core;
    ScriptedClock clock;
    ScriptedMessages messages;
    void Attach(ABaseApp& app) {
        app.SetEngineCore(&core);
        app.SetClock(&clock);
        app.SetMessageSource(&messages);
    }
    int Frames() const {
        int n = 0;
        for (const auto& c : core.calls) n += c == "BeginFrame";
        return n;
    }
};

TEST(MainLoop, FramePeriodIsSixteenMilliseconds) { EXPECT_EQ(g_FramePeriod, 16u); }

// The system sleep wakes on the deadline's millisecond, neither before it nor
// a coarse tick later; a deadline already passed (also across the timer's
// wrap) does not sleep.
TEST(MainLoop, SystemSleepReachesItsDeadline) {
    for (int i = 0; i < 5; ++i) {
        const uint32_t deadline = plat::TimeGetTime() + 7;
        plat::SleepUntil(deadline);
        const uint32_t woke = plat::TimeGetTime();
        EXPECT_GE(static_cast<int32_t>(woke - deadline), 0);
        EXPECT_LE(static_cast<int32_t>(woke - deadline), 30);  // generous for a loaded machine
    }
    const uint32_t before = plat::TimeGetTime();
    plat::SleepUntil(before - 1);
    plat::SleepUntil(before - 0x7FFFFFFFu);
    EXPECT_LE(plat::TimeGetTime() - before, 30u);
}

TEST(MainLoop, TimingRuleRunsOrSleepsToTheFramesStart) {
    struct Case {
        uint32_t dt;
        int frames;
        int sleeps;  // each to the next frame's start, 1016
        float frame_time;
    };
    const Case cases[] = {
        {16, 1, 0, 0.016f},  // exactly the period: a frame
        {15, 0, 1, 0},       // 1 ms left: no spinning either
        {12, 0, 1, 0},
        {0, 0, 1, 0},
        {200, 1, 0, 0.2f},   // exactly 0.2 s passes as it is
        {250, 1, 0, 0.016f}, // longer counts as one frame period
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dt);
        std::vector<std::string> log;
        TestScene scene("Menu", &log);
        TestApp app({&scene});
        LoopRig rig;
        rig.Attach(app);
        rig.clock.times = {1000, 1000 + c.dt};
        rig.messages.script = {std::nullopt};  // one idle turn, then WM_QUIT
        EXPECT_EQ(app.Run(), 0);
        EXPECT_EQ(rig.Frames(), c.frames);
        EXPECT_EQ(rig.clock.deadlines, std::vector<uint32_t>(c.sleeps, 1016u));
        if (c.frames) {
            ASSERT_EQ(rig.core.frame_times.size(), 1u);
            EXPECT_FLOAT_EQ(rig.core.frame_times[0], c.frame_time);
        }
    }
}

TEST(MainLoop, FrameOrderAndNextDtCountsFromAfterTheFrameStarts) {
    std::vector<std::string> log;
    TestScene scene("Menu", &log);
    TestApp app({&scene});
    LoopRig rig;
    rig.Attach(app);
    // Start at 0; the first idle turn reads 20 (frame), the frame start reads 25;
    // the next idle turn reads 40: 15 ms since 25, so no second frame.
    rig.clock.times = {0, 20, 25, 40};
    rig.messages.script = {std::nullopt, std::nullopt};
    app.Run();
    EXPECT_EQ(rig.Frames(), 1);
    EXPECT_FLOAT_EQ(rig.core.frame_times[0], 0.020f);
    std::vector<std::string> expected_core = {"SetCallback0", "SetCallback1", "ResetFrameStats", "BeginFrame", "EndFrame"};
    EXPECT_EQ(rig.core.calls, expected_core);
    std::vector<std::string> expected = {"Menu.Init", "Menu.Reset", "Menu.Update", "Menu.Render", "Menu.Exit"};
    EXPECT_EQ(log, expected);
}

TEST(MainLoop, QuitRequestEndsTheLoopBeforeRendering) {
    std::vector<std::string> log;
    TestScene menu("Menu", &log), game("Game", &log);
    menu.on_update = [](AScene& s) { s.SetRequest(AScene::kRequestQuit); };
    game.SetActive(1);
    TestApp app({&menu, &game});
    LoopRig rig;
    rig.Attach(app);
    rig.clock.times = {0, 16};
    rig.messages.script = {std::nullopt, std::nullopt, std::nullopt};
    app.Run();
    // The other active scene is still updated in that frame; nothing renders.
    std::vector<std::string> expected = {"Menu.Init", "Game.Init", "Menu.Reset", "Menu.Update", "Game.Update",
                                         "Menu.Exit", "Game.Exit"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(rig.Frames(), 0);
    EXPECT_FALSE(app.IsRunning());
    EXPECT_EQ(menu.GetRequest(), 0);
}

TEST(MainLoop, KeysReachScenesOnlyWhileActiveAndEveryMessageIsDispatched) {
    std::vector<std::string> log;
    TestScene scene("Menu", &log);
    TestApp app({&scene});
    LoopRig rig;
    rig.Attach(app);
    using plat::Message;
    rig.messages.script = {
        Message {plat::WM_KEYDOWN, 'A', 0},
        Message {ABaseApp::kActivateMessage, 0, 0},  // deactivated: the loop now waits
        Message {plat::WM_KEYDOWN, 'B', 0},
        Message {plat::WM_SYSKEYDOWN, plat::WM_KEYDOWN, 0},
        Message {ABaseApp::kActivateMessage, 1, 0},
        Message {plat::WM_KEYDOWN, 0x1234'0043, 0},  // only the low 16 bits are the key
    };
    app.Run();
    std::vector<std::string> expected = {"Menu.Init", "Menu.Reset", "Menu.Key65", "Menu.Inactive",
                                         "Menu.Active", "Menu.Key67", "Menu.Exit"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(rig.messages.dispatched.size(), 6u);
    EXPECT_EQ(rig.messages.waits, 3);
    EXPECT_EQ(rig.core.activations, (std::vector<bool> {false, true}));
    EXPECT_EQ(rig.Frames(), 0);
}

TEST(MainLoop, WaitingReadEndsOnQuit) {
    std::vector<std::string> log;
    TestApp app({});
    LoopRig rig;
    rig.Attach(app);
    rig.messages.script = {plat::Message {ABaseApp::kActivateMessage, 0, 0}};
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(rig.messages.waits, 1);
    EXPECT_EQ(rig.messages.dispatched.size(), 1u) << "WM_QUIT is not dispatched";
}

TEST(MainLoop, EmptySceneListRunsFramesUntilQuit) {
    TestApp app({});
    LoopRig rig;
    rig.Attach(app);
    rig.clock.times = {0, 16, 16, 32, 32, 48, 48};
    rig.messages.script = {std::nullopt, std::nullopt, std::nullopt};
    app.Run();
    EXPECT_EQ(rig.Frames(), 3);
}

// The scene manager's switching rules.
class SceneManagerTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    TestScene menu {"Menu", &log}, selector {"Selector", &log}, game {"Game", &log};
    CSceneManager mgr;
    void SetUp() override {
        mgr.AddScene(&menu);
        mgr.AddScene(&selector);
        mgr.AddScene(&game);
    }
};

TEST_F(SceneManagerTest, AddFindAndDuplicates) {
    TestScene other("Menu", &log);
    mgr.AddScene(&other);
    mgr.AddScene(nullptr);
    EXPECT_EQ(mgr.Scenes().size(), 3u);
    EXPECT_EQ(mgr.FindScene("Menu"), &menu);
    EXPECT_EQ(mgr.FindScene("menu"), nullptr);
    mgr.ActivateScene("Nowhere");
    EXPECT_FALSE(menu.IsActive() || selector.IsActive() || game.IsActive());
}

TEST_F(SceneManagerTest, SwitchResetsOnlyWhileNeededAndRemembersWhereFrom) {
    mgr.ActivateScene("Menu");
    EXPECT_TRUE(menu.IsActive());
    EXPECT_EQ(menu.GetPrevScene(), "");
    menu.on_update = [](AScene& s) {
        s.SetActive(0);
        s.SetNextScene("Game");
        s.SetRequest(AScene::kRequestSwitch);
    };
    EXPECT_TRUE(mgr.Update());
    // Game stands later in the list: switched to and updated in the same frame.
    std::vector<std::string> expected = {"Menu.Reset", "Menu.Update", "Game.Reset", "Game.Update"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(game.GetPrevScene(), "Menu");
    EXPECT_FALSE(menu.IsActive());

    // Back to the menu, which stands earlier: it starts with the next frame, and
    // its default Reset cleared the flag, so no second reset.
    log.clear();
    menu.on_update = nullptr;
    game.on_update = [](AScene& s) {
        s.SetActive(0);
        s.SetNextScene("Menu");
        s.SetRequest(AScene::kRequestSwitch);
    };
    mgr.Update();
    EXPECT_EQ(log, (std::vector<std::string> {"Game.Update"}));
    EXPECT_TRUE(menu.IsActive());
    EXPECT_EQ(menu.GetPrevScene(), "Game");
    log.clear();
    game.on_update = nullptr;
    mgr.Update();
    EXPECT_EQ(log, (std::vector<std::string> {"Menu.Update"}));
}

TEST_F(SceneManagerTest, SwitchToAnActiveSceneChangesNothing) {
    mgr.ActivateScene("Menu");
    mgr.ActivateScene("Game");
    log.clear();
    menu.on_update = [](AScene& s) {
        s.SetNextScene("Game");
        s.SetRequest(AScene::kRequestSwitch);
    };
    mgr.Update();
    EXPECT_TRUE(menu.IsActive()) << "it did not clear its own flag";
    EXPECT_EQ(game.GetPrevScene(), "");
    EXPECT_EQ(log, (std::vector<std::string> {"Menu.Update", "Game.Update"}));
}

TEST_F(SceneManagerTest, UnknownRequestsAreClearedAndRenderKeysActivationGoToActiveScenes) {
    mgr.ActivateScene("Selector");
    log.clear();
    selector.on_update = [](AScene& s) { s.SetRequest(7); };
    EXPECT_TRUE(mgr.Update());
    EXPECT_EQ(selector.GetRequest(), 0);
    mgr.Render();
    mgr.OnKeyDown(13);
    mgr.OnActivate(false);
    std::vector<std::string> expected = {"Selector.Update", "Selector.Render", "Selector.Key13", "Selector.Inactive"};
    EXPECT_EQ(log, expected);
}

TEST_F(SceneManagerTest, InitAndExitReachEveryScene) {
    mgr.Init();
    mgr.Exit();
    std::vector<std::string> expected = {"Menu.Init", "Selector.Init", "Game.Init",
                                         "Menu.Exit", "Selector.Exit", "Game.Exit"};
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(mgr.Scenes().empty());
}

}  // namespace

namespace {

volatile int g_zero = 0;

TEST(MainLoop, ExceptionsEscapingTheLoopAreLoggedAsWinMainAndTeardownRuns) {
    UseTestUserFolder();
    InstallSETranslator();
    struct Case {
        const char* what;
        std::function<void()> fault;
        const char* logged;
        bool divides_by_zero = false;
    };
    // The division comes last: where it is skipped, the other cases have run.
    const Case cases[] = {
        {"error", [] { throw std::runtime_error("Failed to reset D3DDevice"); },
         "Error: Exception raised. Failed to reset D3DDevice (WinMain)"},
        {"fault", [] { g_zero = 7 / g_zero; }, "Error: Exception raised. Division by zero (code C0000094) at ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.divides_by_zero) SKIP_A_DIVISION_BY_ZERO_UNDER_UBSAN();
        std::vector<std::string> log;
        TestScene scene("Game", &log);
        auto fault = c.fault;
        scene.on_update = [fault](AScene&) { fault(); };
        {
            TestApp app({&scene});
            LoopRig rig;
            rig.Attach(app);
            rig.clock.times = {0, 16};
            rig.messages.script = {std::nullopt};
            EXPECT_EQ(RunApplication(app), 1);
        }
        EXPECT_EQ(log.back(), "Game.Exit") << "the scenes still exit";
        std::ifstream in(UserFolderPath("all") + "log.html");
        std::stringstream ss;
        ss << in.rdbuf();
        EXPECT_NE(ss.str().find(c.logged), std::string::npos);
    }
}

}  // namespace
