#include "field/burner_flame.h"

#include "engine/logger.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/game_cfg.h"
#include "field/level_cfg.h"

CBurnerFlame::CBurnerFlame(IBonusDataSource* data_source, int cell, int dcol, int drow,
                           const CGraphicsDesc& graphics, std::vector<int>* hit_cells)
    : _data_src(data_source), _dcol(dcol), _drow(drow), _hit_cells(hit_cells) {
    g_LevelCFG->CellToScr(cell, _x, _y);
    // A flame without a picture still burns; it is just not drawn.
    if (!graphics.texture.empty()) _sprite.Create(_x, _y, graphics, true);
}

void CBurnerFlame::Update() {
    if (!_alive) return;
    const float dx = static_cast<float>(_dcol) * kStep, dy = static_cast<float>(_drow) * kStep;
    _x += dx;
    _y += dy;
    _sprite.Move(dx, dy);
    const int cell = g_LevelCFG->ScrToCell(_x, _y);
    if (_data_src->IsVovaroCell(cell) && cell != _last_cell) {
        HitCurrentCell(cell);
        _last_cell = cell;
    }
    const float lead_x = _x + (_dcol > 0 ? g_GameCFG->GetCellWidth() - 1 : 0);
    const float lead_y = _y + (_drow > 0 ? g_GameCFG->GetCellHeight() - 1 : 0);
    if (BlocksAt(lead_x, lead_y)) _alive = false;
}

void CBurnerFlame::HitCurrentCell(int cur_cell_index) {
    CBallsField* balls = _data_src->GetBallsField();
    int state = 0;
    if (balls && !balls->IsCellEmpty(cur_cell_index)) VERIFY(_data_src->GetBallState(cur_cell_index, state));
    if (state == bsDEAD || state == bsDYING) return;
    if (const int bonus_type = _data_src->GetBallBonusType(cur_cell_index))
        _data_src->AddBonus(bonus_type, cur_cell_index);
    _data_src->HitCell(cur_cell_index, 3);
    _hit_cells->push_back(cur_cell_index);
}

bool CBurnerFlame::BlocksAt(float x, float y) const {
    const int cell = g_LevelCFG->ScrToCell(x, y);
    if (!_data_src->IsVovaroCell(cell)) return true;
    const CBallsField* balls = _data_src->GetBallsField();
    return balls && !balls->IsCellEmpty(cell) && balls->IsFragmentBall(cell);
}

void CBurnerFlame::Draw() {
    if (_alive) _sprite.Render();
}
