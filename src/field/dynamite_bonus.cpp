#include "field/dynamite_bonus.h"

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/level_cfg.h"
#include "graphics/explosion.h"

namespace {

CDynamiteBonus::Config ReadConfig(const CXMLNode& node) {
    CDynamiteBonus::Config cfg;
    if (!node.IsValid()) return cfg;
    cfg.radius = node.GetAttributeInt("radius", cfg.radius);
    cfg.expl_alias = node.GetAttribute("expl_alias", "");
    return cfg;
}

}  // namespace

void CDynamiteBonus::LoadConfig(const CXMLNode& node) {
    CBaseBonusImpl::LoadConfig(node);
    _default_cfg = ReadConfig(node.SelectSingleNode("DefaultCfg"));
    _intensive_cfg = ReadConfig(node.SelectSingleNode("IntensiveCfg"));
}

bool CDynamiteBonus::Activate(int cell) {
    if (!CBaseBonusImpl::Activate(cell)) return false;
    _cell = cell;
    GetDataSource()->HitCell(cell, 3);
    Explode();
    _countdown.Set(kKillDelay);
    return true;
}

void CDynamiteBonus::Explode() {
    const Config& cfg = _intensive ? _intensive_cfg : _default_cfg;
    const CLevelCfg& level = *g_LevelCFG;
    IBonusDataSource& field = *GetDataSource();
    _cells.assign(1, _cell);
    float x = 0, y = 0;
    if (!cfg.expl_alias.empty() && level.CellCenterToScr(_cell, x, y))
        explosion::GetExplosionManager()->StartExplosion(cfg.expl_alias, x, y);
    int column = 0, row = 0;
    level.CellToPos(_cell, column, row);
    for (int r = row - cfg.radius; r <= row + cfg.radius; ++r)
        for (int c = column - cfg.radius; c <= column + cfg.radius; ++c) {
            if (c < 0 || r < 0 || c >= level.GetFieldWidth() || r >= level.GetFieldHeight()) continue;
            const int cell = level.PosToCell(c, r);
            if (level.IsValidCell(cell) && field.IsVovaroCell(cell)) _cells.push_back(cell);
        }
    for (int cell : _cells) {
        int state = -1;
        if (!field.GetBallState(cell, state)) state = -1;
        if (state == bsDEAD || state == bsDYING) continue;
        const int bonus_type = field.GetBallBonusType(cell);
        if (bonus_type == 0)
            field.HitCell(cell, 3);
        else
            field.AddBonus(bonus_type, cell);
    }
}

void CDynamiteBonus::Update() {
    if (!IsActive()) return;
    _countdown.Decrement();
    if (!_countdown.IsZero()) return;
    IBonusDataSource& field = *GetDataSource();
    if (CBallsField* balls = field.GetBallsField()) {
        const int count = g_LevelCFG->GetCellCount();
        for (int cell = 0; cell < count; ++cell) {
            if (balls->IsCellEmpty(cell)) continue;
            int state = -1;
            if (!VERIFY(field.GetBallState(cell, state))) continue;
            if (state == bsDYING) field.KillBall(cell, bsDEAD);
        }
    }
    SetActive(false);
    RequestCompress();
}
