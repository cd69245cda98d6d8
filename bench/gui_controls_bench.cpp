// Cost of a dialog frame of the list and value controls, headless through the
// engine core and the shipped data tree: a list box of ten rows with its scroll
// bar, two track bars and two progress bars running toward new values (each
// rebuilt every frame), and the same dialog sliding as a panel.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/engine_core.h"
#include "engine/user_folder.h"
#include "engine/variables.h"
#include "engine/xml_file.h"
#include "graphics/font_keeper.h"
#include "gui/base_dialog.h"
#include "gui/control_kinds.h"
#include "gui/menu_list_box.h"
#include "gui/menu_progress_bar.h"
#include "gui/menu_track_bar.h"
#include "gui/panel_manager.h"

namespace {

const char* kDialog = R"(<Dialog>
  <Control type="TRACKBAR" id="T0" kind="0" left="60" top="60" width="264" height="24"/>
  <Control type="TRACKBAR" id="T1" kind="1" left="700" top="60" width="24" height="264"/>
  <Control type="PROGRESS_BAR" id="P0" kind="0" left="60" top="120" width="216" height="24"/>
  <Control type="PROGRESS_BAR" id="P1" kind="1" left="60" top="160" width="216" height="24"/>
  <Control type="LISTBOX" id="L" left="60" top="220" width="300" height="300" item_height="30"/>
</Dialog>)";

bool StartCore() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const auto dir = std::filesystem::temp_directory_path() / "vovaro_bench_gui";
    std::filesystem::create_directories(dir);
    PrepareUserFolderAt(dir.string());
    std::filesystem::current_path(VOVARO_BENCH_DATA_DIR);
    static const bool started = [] {
        if (!CEngineCore::Instance().Init(true)) return false;
        CFontKeeper::Instance().SelectLanguage(0);
        LoadControlKinds();
        return true;
    }();
    return started;
}

struct Scene {
    CXMLFile xml;
    CBaseDialog dialog;
    CMenuProgressBar* bars[2] = {};

    Scene() {
        xml.Parse(kDialog);
        dialog.Load(xml.SelectSingleNode("//Dialog"));
        auto* list = dynamic_cast<CMenuListBox*>(dialog.FindControl("L"));
        for (int i = 0; i < 10; ++i) list->AddItem("mission_" + std::to_string(i));
        list->SetItemFlag(3, 1);
        dynamic_cast<CMenuTrackBar*>(dialog.FindControl("T0"))->SetMax(4);
        bars[0] = dynamic_cast<CMenuProgressBar*>(dialog.FindControl("P0"));
        bars[1] = dynamic_cast<CMenuProgressBar*>(dialog.FindControl("P1"));
        for (CMenuProgressBar* bar : bars) bar->setSmooth(1);
    }
    // Keeps both bars running: each drawn frame steps and rebuilds them.
    void KeepRunning() {
        for (CMenuProgressBar* bar : bars)
            if (bar->getValue() == bar->getTarget()) bar->setValue(bar->getValue() == 0 ? 100 : 0);
    }
};

// The frame without the dialog: clearing and presenting alone.
void BM_EmptyFrame(benchmark::State& state) {
    if (!StartCore()) {
        state.SkipWithError("engine core did not start");
        return;
    }
    CEngineCore& core = CEngineCore::Instance();
    for (auto _ : state) {
        core.BeginFrame();
        core.Clear(0xFF000000);
        core.EndFrame();
    }
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

void BM_DialogFrame(benchmark::State& state) {
    if (!StartCore()) {
        state.SkipWithError("engine core did not start");
        return;
    }
    Scene scene;
    CEngineCore& core = CEngineCore::Instance();
    for (auto _ : state) {
        scene.KeepRunning();
        core.BeginFrame();
        core.Clear(0xFF000000);
        scene.dialog.Draw(false);
        core.EndFrame();
    }
}
BENCHMARK(BM_DialogFrame)->Unit(benchmark::kMillisecond);

void BM_SlidingPanelFrame(benchmark::State& state) {
    if (!StartCore()) {
        state.SkipWithError("engine core did not start");
        return;
    }
    CVariables vars;
    vars.Register("m_panel_speed", 16.0f);
    CPanelSlide::SetGameVariables(&vars);
    Scene scene;
    CPanelManager panels;
    panels.AddPanel(&scene.dialog, 0);
    panels.SetPanelDirections(&scene.dialog, CVector2(1, 0), CVector2(1, 0));
    CEngineCore& core = CEngineCore::Instance();
    bool show = true;
    for (auto _ : state) {
        if (!panels.IsShown(&scene.dialog) || panels.IsReady(&scene.dialog)) {
            panels.ShowPanel(&scene.dialog, show);
            show = !show;
        }
        scene.KeepRunning();
        core.BeginFrame();
        core.Clear(0xFF000000);
        panels.Render();
        core.EndFrame();
    }
    CPanelSlide::SetGameVariables(nullptr);
}
BENCHMARK(BM_SlidingPanelFrame)->Unit(benchmark::kMillisecond);

}  // namespace
