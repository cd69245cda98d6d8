#include "field/tiles_dissolver.h"

#include "field/level_cfg.h"

void CTilesDissolver::OnValue(int value) {
    if (!_owner) return;
    const int cells = g_LevelCFG->GetCellCount();
    for (int cell = 0; cell < cells; ++cell)
        if (_owner->HasCell(cell)) _owner->SetCellAlpha(cell, value);
    _owner->SetAlpha(value);
}
