// Cost of the sprite path per frame: rebuilding the vertices of moving,
// turning sprites, and drawing a batch of them through the engine core.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "engine/engine_core.h"
#include "engine/user_folder.h"
#include "graphics/object_2d.h"
#include "graphics/renderer_keeper.h"

namespace {

std::vector<std::unique_ptr<C2DObject>> MakeSprites(int n) {
    std::vector<std::unique_ptr<C2DObject>> sprites;
    for (int i = 0; i < n; ++i) {
        auto s = std::make_unique<C2DObject>();
        s->InitFromTexRect(static_cast<float>(i % 760), static_cast<float>((i * 7) % 560), 32, 32,
                           CFloatRect(0, 0, 32, 32));
        s->SetTextureSize(64, 64);
        sprites.push_back(std::move(s));
    }
    return sprites;
}

void BM_RebuildMovingSprites(benchmark::State& state) {
    auto sprites = MakeSprites(static_cast<int>(state.range(0)));
    float angle = 0;
    for (auto _ : state) {
        angle += 1;
        for (auto& s : sprites) {
            s->Move(1, 0);
            s->SetAngle(angle);
            benchmark::DoNotOptimize(s->GetVertices());
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RebuildMovingSprites)->Arg(100)->Arg(1000);

// A full frame of n moving 32x32 sprites in one keeper batch, drawn by the
// render device headless.
void BM_DrawBatch(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    const auto dir = std::filesystem::temp_directory_path() / "vovaro_bench_sprites";
    std::filesystem::create_directories(dir / "Textures");
    PrepareUserFolderAt(dir.string());
    std::filesystem::current_path(dir);
    {
        // A 64x64 opaque grey TGA.
        std::ofstream f("Textures/bench.tga", std::ios::binary);
        const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0, 32, 0x28};
        f.write(reinterpret_cast<const char*>(header), sizeof header);
        const unsigned char px[4] = {0x80, 0x80, 0x80, 0xFF};
        for (int i = 0; i < 64 * 64; ++i) f.write(reinterpret_cast<const char*>(px), 4);
    }
    static const bool started = CEngineCore::Instance().Init(true);
    if (!started) {
        state.SkipWithError("engine core did not start");
        return;
    }
    CRendererKeeper keeper;
    CTexturedRectsList* batch = keeper.GetRenderer("Textures\\bench.tga");
    auto sprites = MakeSprites(static_cast<int>(state.range(0)));
    for (auto& s : sprites) s->SetRenderer(batch);
    plat::RenderDevice* device = CEngineCore::Instance().GetGraphicsDevice()->GetDevice();
    for (auto _ : state) {
        device->BeginScene();
        device->Clear(0xFF000000);
        for (auto& s : sprites) s->Move(0.25f, 0);
        keeper.RenderAll();
        device->EndScene();
    }
    for (auto& s : sprites) s->ReleaseRenderer();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DrawBatch)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
