#include "field/killer_bonus.h"

#include <algorithm>

#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/sound_keeper.h"
#include "engine/xml_node.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/field_services.h"
#include "field/level_cfg.h"
#include "graphics/explosion.h"

void CKillerBonus::LoadConfig(const CXMLNode& node) {
    CBaseBonusImpl::LoadConfig(node);
    if (!node.IsValid()) return;
    const CXMLNode tool = node.SelectSingleNode(GetType() == kFeatherType ? "Feather" : "Egg");
    if (!tool.IsValid()) return;
    _expl_alias = tool.GetAttribute("expl_alias", "");
    _priority_graph_type = tool.GetAttributeInt("priority_graph_type", 0);
    _type_sample = tool.GetAttribute("sample", "");
    _unallowed_graph_type.clear();
    TokenizeInts(&_unallowed_graph_type, tool.GetAttribute("unallowed_graph_type", ""), " ,\t");
}

bool CKillerBonus::Activate(int cell) {
    if (!CBaseBonusImpl::Activate(cell)) return false;
    _targets.clear();
    const int kind = ChooseKind();
    if (kind == 0) {
        // Nothing to remove: the bonus ends and the list drops it next update.
        SetActive(false);
    } else {
        const int cell_count = g_LevelCFG->GetCellCount();
        const CBallsField& balls = *GetDataSource()->GetBallsField();
        for (int c = 0; c < cell_count; ++c)
            if (IsOrdinaryBall(c) && balls.GetBall(c).graph_type == kind) _targets.push_back({kind, c});
    }
    if (!_type_sample.empty())
        if (ISoundKeeper* sounds = field::SoundKeeper()) sounds->PlaySample(_type_sample);
    return true;
}

int CKillerBonus::ChooseKind() {
    const CBallsField* balls = GetDataSource()->GetBallsField();
    if (!balls) return 0;
    if (_priority_graph_type != 0 && balls->HasBallOfGraphType(_priority_graph_type)) return _priority_graph_type;
    return _random_fallback ? RandomKind() : 0;
}

int CKillerBonus::RandomKind() {
    const CBallsField& balls = *GetDataSource()->GetBallsField();
    std::vector<int> active_graph_type;
    const int cell_count = g_LevelCFG->GetCellCount();
    for (int c = 0; c < cell_count; ++c) {
        if (balls.IsCellEmpty(c)) continue;
        const BallDesc& desc = balls.GetBall(c);
        if (desc.life == -1 || desc.bonus_type != 0) continue;
        const auto is = [&desc](int kind) { return kind == desc.graph_type; };
        if (std::any_of(_unallowed_graph_type.begin(), _unallowed_graph_type.end(), is)) continue;
        if (std::none_of(active_graph_type.begin(), active_graph_type.end(), is))
            active_graph_type.push_back(desc.graph_type);
    }
    // A field of bonus balls, fragments and unallowed kinds only: reported,
    // and the feather ends without a target like the egg.
    if (!ASSERT(!active_graph_type.empty())) return 0;
    const uint32_t last = static_cast<uint32_t>(active_graph_type.size() - 1);
    return active_graph_type[std::min(_random(0, last), last)];
}

void CKillerBonus::Update() {
    if (!IsActive()) return;
    IBonusDataSource& field = *GetDataSource();
    const CBallsField* balls = field.GetBallsField();
    std::erase_if(_targets, [this, balls](const Target& t) {
        return !IsOrdinaryBall(t.cell) || balls->GetBall(t.cell).graph_type != t.graph_type;
    });
    for (const Target& target : _targets) {
        float x = 0, y = 0;
        if (!_expl_alias.empty() && g_LevelCFG->CellCenterToScr(target.cell, x, y))
            explosion::GetExplosionManager()->StartExplosion(_expl_alias, x, y);
        field.KillBall(target.cell, bsDEAD);
    }
    if (!_targets.empty()) return;
    SetActive(false);
    RequestCompress();
}
