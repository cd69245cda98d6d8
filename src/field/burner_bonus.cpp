#include "field/burner_bonus.h"

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/level_cfg.h"

void CBurnerBonus::LoadConfig(const CXMLNode& node) {
    CBaseBonusImpl::LoadConfig(node);
    if (!node.IsValid()) return;
    _left = ParseGraphics(node.SelectSingleNode("Left"));
    _right = ParseGraphics(node.SelectSingleNode("Right"));
    _up = ParseGraphics(node.SelectSingleNode("Up"));
    _down = ParseGraphics(node.SelectSingleNode("Down"));
}

bool CBurnerBonus::Activate(int cell) {
    if (!CBaseBonusImpl::Activate(cell)) return false;
    _hit_cells.clear();
    _flames.clear();
    GetDataSource()->HitCell(cell, 3);
    _hit_cells.push_back(cell);
    int col_index = 0, row_index = 0;
    VERIFY(g_LevelCFG->CellToPos(cell, col_index, row_index));
    const int mask = _intensive ? _intensive_direction_mask : _direction_mask;
    // A flame's picture is named after the side its tail points to.
    if (mask & kHorizontal) {
        AddFlame(cell, -1, 0, _right);
        AddFlame(cell, 1, 0, _left);
    }
    if (mask & kVertical) {
        AddFlame(cell, 0, -1, _up);
        AddFlame(cell, 0, 1, _down);
    }
    return true;
}

void CBurnerBonus::AddFlame(int cell, int dcol, int drow, const CGraphicsDesc& graphics) {
    _flames.push_back(std::make_unique<CBurnerFlame>(GetDataSource(), cell, dcol, drow, graphics, &_hit_cells));
}

void CBurnerBonus::Update() {
    if (!IsActive()) return;
    for (const auto& flame : _flames) flame->Update();
    std::erase_if(_flames, [](const auto& flame) { return !flame->IsAlive(); });
    if (!_flames.empty()) return;
    FinishDyingBalls();
    SetActive(false);
    RequestCompress();
}

void CBurnerBonus::FinishDyingBalls() {
    IBonusDataSource& field = *GetDataSource();
    CBallsField* balls = field.GetBallsField();
    if (!balls) return;
    for (int cell_index : _hit_cells) {
        if (balls->IsCellEmpty(cell_index)) continue;
        int cur_state = -1;
        if (!VERIFY(GetDataSource()->GetBallState(cell_index, cur_state))) continue;
        if (cur_state == bsDYING) field.KillBall(cell_index, bsDEAD);
    }
}

void CBurnerBonus::Draw() {
    if (!IsActive()) return;
    for (const auto& flame : _flames) flame->Draw();
}
