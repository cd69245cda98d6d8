// Laying out labels: what a label printed every frame costs (formatting, line
// split, glyph quads), on the shipped English fonts and labels.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "engine/engine_core.h"
#include "engine/user_folder.h"
#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"

namespace {

CFontKeeper& Keeper() {
    static CFontKeeper* keeper = [] {
        // A headless engine core, so that the font pages load as in the game.
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        const auto user = std::filesystem::temp_directory_path() / "vovaro_bench_fonts";
        std::filesystem::create_directories(user);
        PrepareUserFolderAt(user.string());
        // The build's data tree lies beside the bench folder.
        std::filesystem::current_path(std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "data");
        static CFontKeeper k;
        CEngineCore::Instance().Init(true);
        k.SelectLanguage(0);
        return &k;
    }();
    return *keeper;
}

void BM_LayoutScorePopup(benchmark::State& state) {
    CFontKeeper& keeper = Keeper();
    CTexturedRectsList batch;
    int score = 0;
    for (auto _ : state) keeper.LayoutLabelArgs(&batch, 400, 300, "Score_combo", PrintfArg(score++), PrintfArg());
}
BENCHMARK(BM_LayoutScorePopup);

void BM_LayoutFourLineHelp(benchmark::State& state) {
    CFontKeeper& keeper = Keeper();
    CTexturedRectsList batch;
    for (auto _ : state) keeper.LayoutLabelArgs(&batch, 40, 100, "Help_Text", PrintfArg(), PrintfArg());
}
BENCHMARK(BM_LayoutFourLineHelp);

}  // namespace
