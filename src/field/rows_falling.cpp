#include "field/rows_falling.h"

#include <array>

#include "field/balls_field.h"
#include "field/compress_and_fall_balls.h"
#include "field/level_cfg.h"

namespace {

struct Offset {
    int dcol, drow;
};
// The eight neighbours, clockwise from the one above.
constexpr std::array<Offset, 8> kNeighbours {{{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}}};

int ClassOf(const std::vector<int>& map, int cell) { return map[static_cast<size_t>(cell)] & 0xFF; }

// The neighbour's cell, CELL_ERROR outside the field (never the next row).
int Neighbour(int cell, const Offset& offset) {
    int col = 0, row = 0;
    if (!g_LevelCFG->CellToPos(cell, col, row)) return CELL_ERROR;
    return g_LevelCFG->PosToCell(col + offset.dcol, row + offset.drow);
}

}  // namespace

bool CRowsFalling::Test() {
    _planner->BuildCellMap(_map);
    return TestWithMap(_map);
}

bool CRowsFalling::TestWithMap(std::vector<int>& map) {
    _planner->PlanAll(map, nullptr);
    const int count = static_cast<int>(map.size());
    _reached.assign(map.size(), 0);
    _queue.clear();
    _tiles->GetFloodStartCells(_queue);
    for (int cell : _queue)
        if (g_LevelCFG->IsValidCell(cell) && cell < count) _reached[static_cast<size_t>(cell)] = 1;
    for (size_t i = 0; i < _queue.size(); ++i) {
        for (const Offset& offset : kNeighbours) {
            const int next = Neighbour(_queue[i], offset);
            if (next == CELL_ERROR || next >= count || _reached[static_cast<size_t>(next)]) continue;
            if (ClassOf(map, next) != CCompressAndFallBalls::kEmpty) continue;
            _reached[static_cast<size_t>(next)] = 1;
            _queue.push_back(next);
        }
    }
    for (int cell = 0; cell < count; ++cell) {
        if (!Fires(map, cell)) continue;
        Start();
        return true;
    }
    return false;
}

bool CRowsFalling::Fires(const std::vector<int>& map, int cell) const {
    const int cell_class = ClassOf(map, cell);
    if (cell_class == CCompressAndFallBalls::kEmpty) return _reached[static_cast<size_t>(cell)] && _tiles->HasCell(cell);
    if (cell_class != CCompressAndFallBalls::kFixedBall || !_balls->IsCellLocked(cell)) return false;
    // A locked ball with nothing but empty or outside cells around it.
    for (const Offset& offset : kNeighbours) {
        const int next = Neighbour(cell, offset);
        if (next == CELL_ERROR || next >= static_cast<int>(map.size())) continue;
        const int next_class = ClassOf(map, next);
        if (next_class != CCompressAndFallBalls::kOutside && next_class != CCompressAndFallBalls::kEmpty) return false;
    }
    return true;
}
