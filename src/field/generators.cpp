#include "field/generators.h"

#include <algorithm>

#include "engine/logger.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/level_cfg.h"

int CGenerators::Load(const std::vector<GeneratorCell>& generators) {
    _cells = generators;
    int delay = 0;
    for (const GeneratorCell& generator : _cells) delay = std::max(delay, generator.delay);
    return delay;
}

int CGenerators::CellBelow(int cell) {
    if (!g_LevelCFG->IsValidCell(cell)) return -1;
    const int below = cell + g_LevelCFG->GetFieldWidth();
    return g_LevelCFG->IsValidCell(below) ? below : -1;
}

bool CGenerators::IsGeneratorCell(int cell_index) const {
    if (!ASSERT(g_LevelCFG->IsValidCell(cell_index))) return false;
    return std::any_of(_cells.begin(), _cells.end(), [cell_index](const GeneratorCell& g) { return g.cell == cell_index; });
}

void CGenerators::GetAllCells(std::vector<int>& out) const {
    for (const GeneratorCell& generator : _cells) out.push_back(generator.cell);
}

void CGenerators::GetCellsWithDelay(std::vector<int>& out, int d) const {
    for (const GeneratorCell& generator : _cells)
        if (static_cast<unsigned>(generator.delay) >= static_cast<unsigned>(d)) out.push_back(generator.cell);
}

bool CGenerators::AreAllOpen() const {
    const CBallsField* balls = _owner ? _owner->GetBallsField() : nullptr;
    if (!balls) return false;
    bool any = false;
    for (const GeneratorCell& generator : _cells) {
        const int below = CellBelow(generator.cell);
        if (below < 0) continue;
        if (!balls->IsCellEmpty(generator.cell) || !balls->IsCellEmpty(below)) return false;
        any = true;
    }
    return any;
}

bool CGenerators::AreAllOpenInMap(const std::vector<int>& map) const {
    bool any = false;
    for (const GeneratorCell& generator : _cells) {
        const int below = CellBelow(generator.cell);
        if (below < 0 || static_cast<size_t>(below) >= map.size()) continue;
        if ((map[static_cast<size_t>(generator.cell)] & 0xFF) != 2 || (map[static_cast<size_t>(below)] & 0xFF) != 1)
            return false;
        any = true;
    }
    return any;
}

int CGenerators::GetFreeDepth(bool rows_pending) const {
    const CBallsField* balls = _owner ? _owner->GetBallsField() : nullptr;
    if (!balls) return 0;
    const int width = g_LevelCFG->GetFieldWidth();
    int depth = 0;
    for (const GeneratorCell& generator : _cells) {
        if (!g_LevelCFG->IsValidCell(generator.cell)) continue;
        int free = 0;
        for (int k = 1; k <= kMaxFreeDepth; ++k) {
            const int cell = generator.cell + k * width;
            if (!g_LevelCFG->IsValidCell(cell)) break;
            if (balls->IsCellEmpty(cell) || rows_pending || balls->GetCellBallState(cell) == bsMOVE) ++free;
        }
        depth = std::max(depth, free);
    }
    return depth;
}

bool CGenerators::IsAnyFeeding() const {
    const CBallsField* balls = _owner ? _owner->GetBallsField() : nullptr;
    if (!balls) return false;
    for (const GeneratorCell& generator : _cells) {
        const int below = CellBelow(generator.cell);
        if (below < 0) continue;
        if (balls->GetCellBallState(generator.cell) == bsMOVE || balls->GetCellBallState(below) == bsMOVE) return true;
    }
    return false;
}
