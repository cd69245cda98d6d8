#include "field/field_globals.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "field/animation_cache.h"
#include "field/ball_tables.h"
#include "field/field_global.h"
#include "field/game_cfg.h"
#include "field/graph_obj_manager.h"
#include "field/level_cfg.h"
#include "gui/panel_slide.h"

const char* const kBonusFileName = "bonus.xml";
const char* const kBallsGraphBaseFile = "Settings\\Bases\\Balls.XML";
const char* const kTilesGraphBaseFile = "Settings\\Bases\\Tiles.XML";

void ThrowFieldGlobalMissing(const char* name) {
    const std::string text = std::string(name) + " used before the field's start-up!";
    CLogger::Instance().Log(2, "Error: %s", text.c_str());
    throw std::logic_error(text);
}

namespace {

void LoadGraphBase(CFieldGlobal<CGraphObjManager>& base, const char* file_name) {
    auto manager = std::make_unique<CGraphObjManager>();
    manager->Load(file_name);
    if (manager->GetGraphTypeCount() == 0) {
        CLogger::Instance().Log(2, "Error: Graph base '%s' holds no graph types!", file_name);
        throw std::runtime_error("Empty graph base!");
    }
    CLogger::Instance().Log(0, "Graph base '%s' loaded: %d graph types.", file_name,
                            static_cast<int>(manager->GetGraphTypeCount()));
    base.Reset(std::move(manager));
}

void BuildFieldGlobals() {
    // The ball tables start empty; the balls fill them from their files.
    g_BallSubstrates.Reset(std::make_unique<std::vector<SubstrateDesc>>());
    g_BallLockGraphics.Reset(std::make_unique<std::vector<CGraphicsDesc>>());
    g_BallLockKeeper.Reset(std::make_unique<CRendererKeeper>());
    g_AnimationCache.Reset(std::make_unique<CAnimationCache>());
    LoadGraphBase(g_BallsGraphBase, kBallsGraphBaseFile);
    LoadGraphBase(g_TilesGraphBase, kTilesGraphBaseFile);
    auto game_cfg = std::make_unique<CGameCfg>();
    game_cfg->LoadGameConfig();
    CLogger::Instance().Log(0, "Game configuration '%s' loaded.", CGameCfg::kFileName);
    g_GameCFG.Reset(std::move(game_cfg));
    CPanelSlide::SetGameVariables(g_GameCFG.GetIfBuilt());
    g_LevelCFG.Reset(std::make_unique<CLevelCfg>(*g_GameCFG));
}

}  // namespace

bool InitFieldGlobals() {
    ShutdownFieldGlobals();
    try {
        BuildFieldGlobals();
    } catch (...) {
        LogCurrentException("InitFieldGlobals");
        CLogger::Instance().Log(2, "Error: The field's data could not be loaded, the game cannot start!");
        ShutdownFieldGlobals();
        return false;
    }
    return true;
}

void ShutdownFieldGlobals() {
    g_LevelCFG.Reset();
    CPanelSlide::SetGameVariables(nullptr);
    g_GameCFG.Reset();
    g_TilesGraphBase.Reset();
    g_BallsGraphBase.Reset();
    g_AnimationCache.Reset();
    g_BallLockKeeper.Reset();
    g_BallLockGraphics.Reset();
    g_BallSubstrates.Reset();
}
