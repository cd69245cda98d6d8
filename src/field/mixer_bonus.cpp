#include "field/mixer_bonus.h"

#include <algorithm>
#include <exception>

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/field_flags.h"
#include "field/level_cfg.h"
#include "field/string_to_point.h"
#include "graphics/explosion.h"

void CMixerBonus::LoadConfig(const CXMLNode& node) {
    CBaseBonusImpl::LoadConfig(node);
    if (!node.IsValid()) return;
    _expl_alias = node.GetAttribute("expl_alias", "");
    _label_name = node.GetAttribute("label_name", "");
    _score = node.GetAttributeInt("score", 0);
    _label_offset = StringToPoint(node.GetAttribute("label_offset", "0 0"));
}

bool CMixerBonus::Activate(int cell) {
    if (!CBaseBonusImpl::Activate(cell)) return false;
    _entries.clear();
    const CBallsField* balls = GetDataSource()->GetBallsField();
    const int cell_count = g_LevelCFG->GetCellCount();
    for (int c = 0; balls && c < cell_count; ++c)
        if (IsOrdinaryBall(c)) _entries.push_back({0, c, balls->GetBall(c)});
    _mixing = !_entries.empty();
    return true;
}

void CMixerBonus::Update() {
    if (!IsActive()) return;
    if (_mixing) {
        Mix();
    } else {
        explosion::IExplosionManager* manager = explosion::GetExplosionManager();
        std::erase_if(_entries, [manager](const Entry& e) { return !e.explosion || !manager->HasEmitter(e.explosion); });
    }
    if (!_entries.empty()) return;
    SetActive(false);
    // The new kinds may match anywhere: scan the whole field, and let the rows fall.
    CFieldFlags* flags = GetDataSource()->GetFieldFlags();
    if (flags) {
        flags->Set(CFieldFlags::ffSettled, 1);
        flags->Set(CFieldFlags::ffSaluteDone, 1);
    }
}

void CMixerBonus::Mix() {
    std::erase_if(_entries, [this](const Entry& e) { return !IsOrdinaryBall(e.cell); });
    int kept = 0;
    for (Entry& entry : _entries) {
        // An effect that cannot start is reported once, not for every ball.
        if (!_expl_alias.empty() && !_effect_failed) entry.explosion = StartEffect(entry.cell);
        if (!Remix(entry.cell, entry.desc.graph_type)) ++kept;
    }
    if (kept)
        CLogger::Instance().Log(1, "Warning: Mixer: the level has no other ball kind; %d ball(s) keep their kind.",
                                kept);
    const int middle = g_LevelCFG->PosToCell(g_LevelCFG->GetFieldWidth() / 2, g_LevelCFG->GetFieldHeight() / 2);
    float x = 0, y = 0;
    if (g_LevelCFG->CellCenterToScr(middle, x, y))
        GetDataSource()->AddScoreAtPos(x + _label_offset.x, y + _label_offset.y, _score, _label_name.c_str(), 3);
    _mixing = false;
}

bool CMixerBonus::Remix(int cell, int old_kind) {
    CBallsField& balls = *GetDataSource()->GetBallsField();
    const std::vector<BallDesc>& palette = balls.GetPalette();
    // With a single kind there is nothing to draw: the ball keeps its kind
    // rather than the draw repeating for ever.
    const bool other = std::any_of(palette.begin(), palette.end(),
                                   [old_kind](const BallDesc& d) { return d.graph_type != old_kind; });
    if (!other) return false;
    balls.ReplaceWithDifferentBall(cell);
    GetDataSource()->SetBallState(cell, bsDEFAULT);
    return true;
}

uint32_t CMixerBonus::StartEffect(int cell) {
    float x = 0, y = 0;
    if (!g_LevelCFG->CellCenterToScr(cell, x, y)) return 0;
    try {
        const uint32_t id = explosion::GetExplosionManager()->StartEmitter(_expl_alias, x, y);
        if (id != explosion::kNoEmitter) return id;
        CLogger::Instance().Log(2, "Error: Mixer: effect '%s' not started: the effect library lacks it",
                                _expl_alias.c_str());
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Mixer: effect '%s' not started: %s", _expl_alias.c_str(), e.what());
    }
    _effect_failed = true;
    return 0;
}

void CMixerBonus::Draw() {
    if (_entries.empty()) return;
    explosion::IExplosionManager* manager = explosion::GetExplosionManager();
    for (const Entry& entry : _entries)
        if (entry.explosion) manager->RenderEmitter(entry.explosion);
}
