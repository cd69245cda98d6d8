// A frame of many running particle emitters: every emitter is stepped and
// drawn through the real engine core (headless), and the simulation alone is
// measured apart from the drawing. The counter "particles/ms" is the number
// of live particles handled per millisecond.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/engine_core.h"
#include "engine/user_folder.h"
#include "graphics/plume.h"
#include "graphics/plume_library.h"
#include "platform/system.h"

namespace {

// The effects of a busy moment of the game: trails, bonus substrates and bursts.
const char* const kEffects[] = {"fragment_trail", "carrier_hammer",   "substrate_dynamite", "substrate_burner",
                                "substrate_mixer", "dynamite_blast",  "ball_burst",         "salute_firework"};

std::shared_ptr<uint32_t> g_now = std::make_shared<uint32_t>(1000);

CPlume& Player() {
    static std::unique_ptr<CPlume> player = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        const std::filesystem::path base = std::filesystem::temp_directory_path() / "vovaro_bench_particles";
        std::filesystem::create_directories(base);
        PrepareUserFolderAt(base.string());
        if (!CEngineCore::Instance().Init(true)) throw std::runtime_error("engine core failed");
        auto p = std::make_unique<CPlume>([] { return *g_now; });
        const std::string lib = plat::ExecutableDir() + "/../data/Textures/Plume/Effects.plume";
        if (!p->LoadLibrary(lib)) throw std::runtime_error("cannot load " + lib);
        return p;
    }();
    return *player;
}

size_t LiveParticles(const CPlume& p, const std::vector<uint32_t>& ids) {
    size_t n = 0;
    for (uint32_t id : ids)
        if (const Plume::CParticleEmitter* e = p.GetEmitter(id)) n += e->ParticleCount();
    return n;
}

// Keeps `count` emitters running: one that has ended is started again.
void KeepRunning(CPlume& p, std::vector<uint32_t>& ids, size_t count, const char* only) {
    ids.resize(count, 0xFFFFFFFFu);
    for (size_t i = 0; i < count; ++i)
        if (!p.HasEmitter(ids[i]))
            ids[i] = p.StartEmitter(only ? only : kEffects[i % std::size(kEffects)],
                                    50 + static_cast<int>(i * 37 % 700), 50 + static_cast<int>(i * 53 % 500));
}

void FrameStepAndDraw(benchmark::State& state, const char* only) {
    CPlume& p = Player();
    IEngineCore* core = &CEngineCore::Instance();
    std::vector<uint32_t> ids;
    const size_t count = static_cast<size_t>(state.range(0));
    for (int i = 0; i < 90; ++i) {  // settle into a steady state
        KeepRunning(p, ids, count, only);
        *g_now += 16;
        p.Render();
    }
    double particles = 0, ms = 0;
    for (auto _ : state) {
        state.PauseTiming();
        KeepRunning(p, ids, count, only);
        *g_now += 16;
        core->Clear(0xFF000000);
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        p.Render();
        ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        particles += static_cast<double>(LiveParticles(p, ids));
    }
    for (uint32_t id : ids) p.StopEmitter(id);
    state.counters["particles/frame"] = benchmark::Counter(particles, benchmark::Counter::kAvgIterations);
    state.counters["particles/ms"] = particles / ms;
}
void BM_FrameStepAndDraw(benchmark::State& state) { FrameStepAndDraw(state, nullptr); }
BENCHMARK(BM_FrameStepAndDraw)->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

// A cascade of matches: the bursts of vanishing balls, the game's commonest effect.
void BM_FrameBallBursts(benchmark::State& state) { FrameStepAndDraw(state, "ball_burst"); }
BENCHMARK(BM_FrameBallBursts)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond);

// The heaviest one-shot effects: large quads, much overdraw.
void BM_FrameDynamite(benchmark::State& state) { FrameStepAndDraw(state, "dynamite_blast"); }
BENCHMARK(BM_FrameDynamite)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
void BM_FrameSalute(benchmark::State& state) { FrameStepAndDraw(state, "salute_firework"); }
BENCHMARK(BM_FrameSalute)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

// The mixer: every ball's swirl drawn by a call of its own, as the game draws
// the effects it holds one by one. The first call of a frame steps the
// player; the others only draw.
void BM_FrameMixerDrawnOneByOne(benchmark::State& state) {
    CPlume& p = Player();
    IEngineCore* core = &CEngineCore::Instance();
    std::vector<uint32_t> ids;
    const size_t count = static_cast<size_t>(state.range(0));
    auto frame = [&] {
        for (uint32_t id : ids) p.RenderEmitter(id);
    };
    for (int i = 0; i < 30; ++i) {
        KeepRunning(p, ids, count, "mixer_swirl");
        *g_now += 16;
        frame();
    }
    double particles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        KeepRunning(p, ids, count, "mixer_swirl");
        *g_now += 16;
        core->Clear(0xFF000000);
        state.ResumeTiming();
        frame();
        particles += static_cast<double>(LiveParticles(p, ids));
    }
    for (uint32_t id : ids) p.StopEmitter(id);
    state.counters["particles/frame"] = benchmark::Counter(particles, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FrameMixerDrawnOneByOne)->Arg(20)->Arg(60)->Unit(benchmark::kMillisecond);

// The simulation alone (emission, ageing, motion) of the same emitters.
void BM_FrameStepOnly(benchmark::State& state) {
    Player();
    const auto library = Plume::CLibrary::Instance();
    std::vector<std::unique_ptr<Plume::CParticleEmitter>> emitters;
    std::vector<float> ages;
    const size_t count = static_cast<size_t>(state.range(0));
    auto restart = [&](size_t i) {
        emitters[i] = library->Find(kEffects[i % std::size(kEffects)])->Start(400, 300);
        ages[i] = 0;
    };
    emitters.resize(count);
    ages.resize(count);
    for (size_t i = 0; i < count; ++i) restart(i);
    const float dt = 0.016f;
    auto step = [&]() {
        size_t n = 0;
        for (size_t i = 0; i < count; ++i) {
            ages[i] += dt;
            emitters[i]->Update(ages[i], dt);
            emitters[i]->Move(library->Noise(), dt);
            n += emitters[i]->ParticleCount();
            if (ages[i] > 0.5f && emitters[i]->ParticleCount() == 0) restart(i);
        }
        return n;
    };
    for (int i = 0; i < 90; ++i) step();
    double particles = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (auto _ : state) particles += static_cast<double>(step());
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    state.counters["particles/frame"] = benchmark::Counter(particles, benchmark::Counter::kAvgIterations);
    state.counters["particles/ms"] = particles / ms;
}
BENCHMARK(BM_FrameStepOnly)->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond);

}  // namespace
