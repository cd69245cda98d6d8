// The field's side of the player's egg and feather, its score popups, tool
// credits and column bonus, and the debug keys' actions on the board.
#include <algorithm>

#include "engine/logger.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/end_level_stuff2.h"
#include "field/fly_particles.h"
#include "field/game_field.h"
#include "field/game_scene_link.h"
#include "field/generators.h"
#include "field/killer_bonus.h"
#include "field/level_cfg.h"
#include "field/praise.h"
#include "field/res_ferryman.h"
#include "field/tiles_field.h"

namespace {

// The debug row drop needs more rows than this with room in them.
constexpr int kMinOpenRows = 2;

// The tool was used: its ring stops and its bar starts again from empty.
void DisarmTool(int tool) {
    IGameSceneLink* scene = GetGameSceneLink();
    if (!scene) return;
    scene->EnableTool(tool, false);
    scene->ResetToolProgress(tool);
}

}  // namespace

void CGameField::CreateToolParts() {
    _praise_labels = std::make_shared<CPraise>();
    _praise = _praise_labels.get();
    _fly_particles = std::make_shared<CFlyParticles>();
    _res_ferryman = std::make_shared<CResFerryman>(this);
    _res_ferryman->SetFlyParticles(_fly_particles.get());
    _carriers = _res_ferryman.get();
}

void CGameField::PrepareEndLevelStuff() {
    if (_end_level_stuff) return;
    _end_level_stuff = std::make_shared<CEndLevelStuff2>(this, _birds.get());
    if (!_end_level) _end_level = _end_level_stuff.get();
}

bool CGameField::AreToolsBlocked() const {
    const IGameSceneLink* scene = GetGameSceneLink();
    const int state = scene ? scene->GetState() : gsDefault;
    return level_is_starting || _stage == 2 || _stage == 3 || state != gsDefault;
}

bool CGameField::UseEgg() {
    if (AreToolsBlocked()) return false;
    _birds->UseEgg();
    StartBonus(CKillerBonus::kEggType, 0, false);
    DisarmTool(kToolEgg);
    FinishBonus(kSlowDownBonus);
    return true;
}

bool CGameField::UseFeather() {
    if (AreToolsBlocked()) return false;
    StartBonus(CKillerBonus::kFeatherType, 0, false);
    DisarmTool(kToolFeather);
    return true;
}

void CGameField::DebugGiveTool(int tool, int amount) {
    if (tool == kToolHammer && _field_flags->Get(CFieldFlags::ffHammerTaken) != 0) return;
    // The debug grant announces every tool with the hammer's sample.
    _res_ferryman->FillBar(ResCredit {tool, amount}, "hammer_appear");
}

void CGameField::DebugPlaceBonus(int type) {
    float x = 0, y = 0;
    if (!GetMousePos(x, y)) return;
    const int cell = g_LevelCFG->ScrToCell(x, y);
    // A fragment or a bonus ball already has its special.
    if (!IsMovable(cell) || _balls_field->IsFragmentBall(cell) || _balls_field->IsBonusBall(cell)) return;
    const std::vector<BallDesc>& kinds = _balls_field->GetBonusTypes();
    const auto it = std::find_if(kinds.begin(), kinds.end(), [type](const BallDesc& d) { return d.bonus_type == type; });
    if (it == kinds.end()) {
        CLogger::Instance().Log(1, "Warning: The level has no bonus ball of type %d", type);
        return;
    }
    _balls_field->ChangeBallGraph(cell, it->graph_type);
}

void CGameField::DebugPlaceBird() {
    float x = 0, y = 0;
    if (GetMousePos(x, y)) _birds->PlaceBird(g_LevelCFG->ScrToCell(x, y));
}

void CGameField::DebugStartMixer() { StartBonus(kMixerBonus, 0, false); }

void CGameField::DebugDropRow() {
    const IGameSceneLink* scene = GetGameSceneLink();
    if (scene && scene->GetState() != gsDefault) return;
    if (_tiles_field->IsAppearing() || _rows_falling->IsFalling()) return;
    if (_end_level && _end_level->IsStarted()) return;
    if (!_generators->AreAllOpen() || CountRowsWithRoom() <= kMinOpenRows) return;
    _rows_countdown.Set(0);
}

int CGameField::CountRowsWithRoom() const {
    int rows = 0;
    for (int row = 0; row < g_LevelCFG->GetFieldHeight(); ++row) {
        for (int col = 0; col < g_LevelCFG->GetFieldWidth(); ++col) {
            const int cell = g_LevelCFG->PosToCell(col, row);
            if (_tiles_field->IsActiveCell(cell) && _balls_field->IsCellEmpty(cell)) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}
