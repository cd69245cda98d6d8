// The game's busiest frames, played headless through the real application
// (scenes, field, effects, panels, background) on the last level of the fifth
// episode with a fixed seed: the level's start (the birds flying in, the
// start rows falling), moves and the cascades they bring, the mixer, bonus
// balls going off in a line, and the level's end. Every frame is one frame
// period of game time, as the main loop hands it, so a run plays the same
// frames on any machine.
//
// Each situation reports the main thread's work per frame: the update, the
// drawing (the draw calls recorded) and the end of the frame (rasterised on
// VOVARO_RENDER_THREADS threads, 1 by default, and shown on SDL's dummy
// display): max_ms and p99_ms of the whole, work_ms of update and drawing
// alone (p99; work_max_ms the worst), raster_ms of the end (p99), and
// cpu_max_ms, the largest processor time of the thread in a frame (what other
// load on the machine does not lengthen). The benchmark's own time is the
// worst frame.
//
// With VOVARO_FRAME_HASHES naming a file, every frame's picture (the back
// buffer) goes there as a checksum, one line a frame, so that two builds can
// be shown to draw the same frames:  cmp run_a.txt run_b.txt
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/base_app.h"
#include "engine/engine_core.h"
#include "engine/game_clock.h"
#include "engine/mouse_controller_interface.h"
#include "engine/user_folder.h"
#include "field/field_globals.h"
#include "field/game_field.h"
#include "field/level_cfg.h"
#include "field/move_record.h"
#include "frontend/brakmoor.h"
#include "frontend/saved_options.h"
#include "frontend/settings_host.h"
#include "game/c3d_game.h"
#include "game/hints_manager.h"
#include "game/live_scene_field.h"
#include "graphics/cursor_keeper.h"
#include "graphics/plume.h"
#include "gui/control_kinds.h"
#include "platform/messages.h"
#include "platform/render_device.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "profiles/app_params.h"
#include "profiles/game_settings.h"
#include "profiles/game_start_request.h"
#include "profiles/user_profiles.h"

namespace {

constexpr int kEpisode = 4, kLevel = 9;  // ten columns of balls, locks and every bonus ball
constexpr uint32_t kSeed = 20240611u;

struct FrameCost {
    double total_ms, work_ms, raster_ms, cpu_ms;
};

double CpuMs() {
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

class BusyRun {
public:
    BusyRun() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("VOVARO_RENDER_THREADS", "1", 0);
        const std::filesystem::path base = std::filesystem::temp_directory_path() / "vovaro_bench_busy_frames";
        std::filesystem::remove_all(base);
        std::filesystem::create_directories(base);
        if (!PrepareUserFolderAt(base.string()).ok) throw std::runtime_error("user folder");
        std::filesystem::current_path(VOVARO_BENCH_DATA_DIR);
        if (const char* path = std::getenv("VOVARO_FRAME_HASHES"); path && *path) _hashes.reset(std::fopen(path, "w"));

        GameOptions options;
        CGameSettings::Instance().LoadSettings(options);
        if (!CEngineCore::Instance().Init(true)) throw std::runtime_error("engine core");
        SetSettingsHost(&_settings_host);
        if (!InitFieldGlobals()) throw std::runtime_error("field globals");
        CCursorKeeper::Install();
        SetLanguage(options.language);
        LoadControlKinds();
        ApplySavedOptions(CEngineCore::Instance(), options);
        g_profiles.OpenProfiles();
        if (g_profiles.GetPlayerCount() == 0) g_profiles.AddPlayer("Bench");
        g_profiles.SetActivePlayer(0);
        // Hints would stop play for a click: this player has seen them all.
        std::vector<int32_t> hints;
        CHintsManager::Instance().CollectUnshownHints(g_profiles.GetActivePlayer(), hints);
        for (int32_t id : hints) g_profiles.SetHintShown(g_profiles.GetActivePlayer(), id, true);
        _effects = std::make_unique<CPlume>();
        if (!_effects->LoadLibrary("Textures\\Plume\\Effects.plume")) throw std::runtime_error("effect library");
        // As the command line "4 9" with the "keys" setting on.
        g_AppParams.keys = 1;
        g_GameStartRequest = GameStartRequest {};
        g_GameStartRequest.episode = kEpisode;
        g_GameStartRequest.level = kLevel;
        _app = std::make_unique<CBrakmoor>(c3DGame::Instance());
        _app->SetGameSeed(kSeed);
        _app->Init();
    }
    ~BusyRun() {
        _app.reset();
        g_Game.Reset();
        ShutdownFieldGlobals();
        SetSettingsHost(nullptr);
        _effects.reset();
    }

    void Play() {
        // The level's start: the birds fly in and the start rows fall.
        Frames("level start", 300);
        if (!WaitForPlay()) throw std::runtime_error("the level never came to play");
        for (int move = 0; move < 6; ++move) {
            MakeMove();
            Frames("moves and cascades", 150);
            WaitForPlay();
        }
        for (int mixer = 0; mixer < 3; ++mixer) {
            Key('M');
            Frames("mixer", 150);
            WaitForPlay();
        }
        // A bonus ball on the ball that moves into a line, then the move.
        for (int key : {'1', '2', '3', '5', '1', '2'}) {
            MakeMove(key);
            Frames("bonus explosions", 200);
            WaitForPlay();
        }
        // The level counts as won: its end, the statistics, the same level again.
        Key(plat::VK_F1 + 7);
        Frames("level end", 400);
    }

    const std::map<std::string, std::vector<FrameCost>>& Costs() const { return _costs; }

private:
    c3DGame& Game() const { return *g_Game.Get(); }
    CGameField& Field() const { return dynamic_cast<CLiveSceneField&>(Game().Field()).GetField(); }
    static plat::Window* Window() { return CEngineCore::Instance().GetHWND(); }

    // One frame of the main loop, timed into `situation` (none: not timed).
    void Frame(const char* situation) {
        CEngineCore& core = CEngineCore::Instance();
        plat::Message msg;
        while (Window()->PeekMessage(&msg))
            if (msg.message == plat::WM_KEYDOWN) _app->OnKeyDown(static_cast<uint16_t>(msg.wParam & 0xFFFF));
        GameClock().Advance(g_FramePeriod);
        core.SetFrameTime(static_cast<float>(g_FramePeriod) / 1000.0f);
        using Clock = std::chrono::steady_clock;
        const double cpu0 = CpuMs();
        const Clock::time_point t0 = Clock::now();
        if (!_app->Update()) throw std::runtime_error("the application ended");
        core.ResetFrameStats();
        core.BeginFrame();
        _app->Render();
        const Clock::time_point t1 = Clock::now();
        core.EndFrame();
        const Clock::time_point t2 = Clock::now();
        const double cpu = CpuMs() - cpu0;
        auto ms = [](Clock::time_point a, Clock::time_point b) {
            return std::chrono::duration<double, std::milli>(b - a).count();
        };
        if (situation) _costs[situation].push_back({ms(t0, t2), ms(t0, t1), ms(t1, t2), cpu});
        if (_hashes) {
            std::vector<uint32_t> px;
            uint32_t w = 0, h = 0;
            core.GetGraphicsDevice()->GetDevice()->ReadBackBuffer(&px, &w, &h);
            uint64_t hash = 1469598103934665603ull;
            for (uint32_t p : px) hash = (hash ^ p) * 1099511628211ull;
            std::fprintf(_hashes.get(), "%s %d %016llx\n", situation ? situation : "-", _frame, static_cast<unsigned long long>(hash));
        }
        ++_frame;
    }
    void Frames(const char* situation, int count) {
        for (int i = 0; i < count; ++i) Frame(situation);
    }
    void Key(int vk) {
        Window()->InjectKey(vk, true);
        Frame(nullptr);
        Window()->InjectKey(vk, false);
    }
    void Click(float x, float y) {
        CEngineCore::Instance().GetMouse()->SetPosition(static_cast<int>(x), static_cast<int>(y), 0);
        Frame(nullptr);
        Window()->InjectMouseButton(0, true);
        Frame(nullptr);
        Window()->InjectMouseButton(0, false);
        Frame(nullptr);
    }
    bool InPlay() {
        if (Game().GetState() != gsDefault || Field().NeedShowBeginEpisode() || Field().IsInputBlocked() ||
            Field().IsAnyBallBusy())
            return false;
        std::vector<MoveRecord> moves;
        return Field().FindAvailableMoves(moves) && !moves.empty();
    }
    bool WaitForPlay() {
        for (int i = 0; i < 1200 && !InPlay(); ++i) Frame(nullptr);
        return InPlay();
    }
    // The first move the field reports; with a debug key, the key is pressed
    // first with the pointer on the moving ball (a bonus ball put there).
    void MakeMove(int key = 0) {
        std::vector<MoveRecord> moves;
        if (!Field().FindAvailableMoves(moves) || moves.empty()) return;
        float ax = 0, ay = 0, bx = 0, by = 0;
        g_LevelCFG->CellCenterToScr(moves.front().from, ax, ay);
        g_LevelCFG->CellCenterToScr(moves.front().to, bx, by);
        if (key) {
            CEngineCore::Instance().GetMouse()->SetPosition(static_cast<int>(ax), static_cast<int>(ay), 0);
            Key(key);
        }
        Click(ax, ay);
        Click(bx, by);
    }

    CSettingsHost _settings_host;
    std::unique_ptr<CPlume> _effects;
    std::unique_ptr<CBrakmoor> _app;
    std::map<std::string, std::vector<FrameCost>> _costs;
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> _hashes;
    int _frame = 0;
};

const BusyRun& Run() {
    static std::unique_ptr<BusyRun> run = [] {
        auto r = std::make_unique<BusyRun>();
        r->Play();
        return r;
    }();
    return *run;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(static_cast<double>(v.size()) * p))];
}

void BM_BusyFrames(benchmark::State& state, const std::string& situation) {
    const auto& costs = Run().Costs();
    const auto it = costs.find(situation);
    if (it == costs.end()) {
        state.SkipWithError("the situation was not played");
        return;
    }
    std::vector<double> total, work, raster, cpu;
    for (const FrameCost& c : it->second) {
        total.push_back(c.total_ms);
        work.push_back(c.work_ms);
        raster.push_back(c.raster_ms);
        cpu.push_back(c.cpu_ms);
    }
    const double worst = *std::max_element(total.begin(), total.end());
    for (auto _ : state) state.SetIterationTime(worst / 1000.0);
    state.counters["frames"] = static_cast<double>(total.size());
    state.counters["max_ms"] = worst;
    state.counters["p99_ms"] = Percentile(total, 0.99);
    state.counters["work_ms"] = Percentile(work, 0.99);
    state.counters["work_max_ms"] = *std::max_element(work.begin(), work.end());
    state.counters["raster_ms"] = Percentile(raster, 0.99);
    state.counters["cpu_max_ms"] = *std::max_element(cpu.begin(), cpu.end());
}

const int kRegistered = [] {
    for (const char* s : {"level start", "moves and cascades", "mixer", "bonus explosions", "level end"})
        benchmark::RegisterBenchmark(("BM_BusyFrames/" + std::string(s)).c_str(),
                                     [s](benchmark::State& st) { BM_BusyFrames(st, s); })
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    return 0;
}();

}  // namespace
