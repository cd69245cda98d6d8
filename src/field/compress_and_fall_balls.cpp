#include "field/compress_and_fall_balls.h"

#include "engine/game_math.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/generators.h"
#include "field/level_cfg.h"

int CCompressAndFallBalls::Moving(int value) {
    const int kind = KindOf(value);
    const int moving = kind == kBall ? kMovingBall : kind == kStraightBall ? kMovingStraight : kind;
    return moving | (value & kMark);
}

bool CCompressAndFallBalls::IsGenerator(int cell) const { return _generators && _generators->IsGeneratorCell(cell); }

void CCompressAndFallBalls::BuildCellMap(std::vector<int>& map) const {
    const int count = g_LevelCFG->GetCellCount();
    map.assign(static_cast<size_t>(count), kOutside);
    CBallsField* balls = _owner ? _owner->GetBallsField() : nullptr;
    for (int cell = 0; cell < count; ++cell) {
        const bool generator = IsGenerator(cell);
        if (!generator && !(_owner && _owner->IsVovaroCell(cell))) continue;
        int& value = map[static_cast<size_t>(cell)];
        if (!balls || balls->IsCellEmpty(cell)) {
            value = generator ? kEmptyGenerator : kEmpty;
            continue;
        }
        if (balls->CellPredicate(cell)) {
            value = balls->IsFragmentBall(cell) ? kStraightBall : kBall;
        } else {
            const int state = balls->GetCellBallState(cell);
            value = state == bsMOVE || state == bsSWAP ? kMovingBall : kFixedBall;
        }
        if (balls->GetMark(cell)) value |= kMark;
    }
}

void CCompressAndFallBalls::FallColumn(std::vector<int>& map, int column, std::vector<FallMove>& moves) const {
    const int width = g_LevelCFG->GetFieldWidth();
    for (int cell = g_LevelCFG->PosToCell(column, g_LevelCFG->GetFieldHeight() - 1); g_LevelCFG->IsValidCell(cell);
         cell -= width) {
        const int above = cell - width;
        if (KindOf(map[static_cast<size_t>(cell)]) != kEmpty || !g_LevelCFG->IsValidCell(above)) continue;
        const int above_kind = KindOf(map[static_cast<size_t>(above)]);
        if (above_kind != kBall && above_kind != kStraightBall) continue;
        moves.push_back({above, cell});
        map[static_cast<size_t>(cell)] = Moving(map[static_cast<size_t>(above)]);
        map[static_cast<size_t>(above)] = EmptyKindFor(above);
    }
}

int CCompressAndFallBalls::SideScore(const std::vector<int>& map, int cell, int dx) const {
    int column = 0, row = 0;
    if (!g_LevelCFG->CellToPos(cell, column, row)) return 0;
    // The candidate lies one row down in the neighbour column.
    int c = g_LevelCFG->PosToCell(column + dx, row + 1);
    if (c == CELL_ERROR || KindOf(map[static_cast<size_t>(c)]) != kEmpty || IsColumnFeeding(map, c)) return 0;
    int score = 0;
    for (int x = column + dx, y = row + 1; c != CELL_ERROR && KindOf(map[static_cast<size_t>(c)]) == kEmpty;
         c = g_LevelCFG->PosToCell(x += dx, y += 1))
        ++score;
    return score;
}

int CCompressAndFallBalls::ChooseSide(const std::vector<int>& map, int cell) const {
    const int left = SideScore(map, cell, -1);
    const int right = SideScore(map, cell, +1);
    if (left > right) return -1;
    if (right > left) return 1;
    if (left == 0) return 0;
    return RandomRange(0, 2) == 0 ? -1 : 1;
}

bool CCompressAndFallBalls::IsColumnFeeding(const std::vector<int>& map, int cell) const {
    const int width = g_LevelCFG->GetFieldWidth();
    for (int above = cell - width, rows = 1; g_LevelCFG->IsValidCell(above); above -= width, ++rows) {
        const int value = map[static_cast<size_t>(above)];
        const int kind = KindOf(value);
        if (kind == kOutside) return false;
        if (kind == kMovingBall || kind == kMovingStraight) return (value & kMark) == 0 || rows < 2;
    }
    return false;
}

bool CCompressAndFallBalls::SlideInColumn(std::vector<int>& map, int column, std::vector<FallMove>& moves) const {
    const int width = g_LevelCFG->GetFieldWidth();
    for (int cell = g_LevelCFG->PosToCell(column, g_LevelCFG->GetFieldHeight() - 1); g_LevelCFG->IsValidCell(cell);
         cell -= width) {
        if (KindOf(map[static_cast<size_t>(cell)]) != kBall) continue;
        const int side = ChooseSide(map, cell);
        if (side == 0) continue;
        const int target = cell + width + side;
        if (!g_LevelCFG->IsValidCell(target) || KindOf(map[static_cast<size_t>(target)]) != kEmpty) continue;
        moves.push_back({cell, target});
        map[static_cast<size_t>(target)] = Moving(map[static_cast<size_t>(cell)]);
        map[static_cast<size_t>(cell)] = EmptyKindFor(cell);
        return true;
    }
    return false;
}

void CCompressAndFallBalls::ClearMarksOfResting(std::vector<int>& map) {
    for (int& value : map) {
        const int kind = KindOf(value);
        if (kind != kMovingBall && kind != kMovingStraight) value &= ~kMark;
    }
}

void CCompressAndFallBalls::SettleMoving(std::vector<int>& map) {
    for (int& value : map) {
        const int kind = KindOf(value);
        if (kind == kMovingBall) value = (value & ~0xFF) | kBall;
        if (kind == kMovingStraight) value = (value & ~0xFF) | kStraightBall;
    }
}

void CCompressAndFallBalls::PlanCycle(std::vector<int>& map, std::vector<FallMove>& moves) const {
    const int width = g_LevelCFG->GetFieldWidth();
    for (int column = 0; column < width; ++column) FallColumn(map, column, moves);
    ClearMarksOfResting(map);
    for (int column = 0; column < width; ++column)
        if (SlideInColumn(map, column, moves)) FallColumn(map, column, moves);
    for (int column = width - 1; column >= 0; --column)
        if (SlideInColumn(map, column, moves)) FallColumn(map, column, moves);
}

bool CCompressAndFallBalls::Compress() {
    std::vector<int> map;
    BuildCellMap(map);
    std::vector<FallMove> moves;
    PlanCycle(map, moves);
    CBallsField* balls = _owner ? _owner->GetBallsField() : nullptr;
    if (moves.empty() || !balls) return false;
    balls->StartMoves(moves);
    return true;
}

bool CCompressAndFallBalls::PlanStep(std::vector<int>& map, std::vector<uint16_t>* tags) {
    // Balls moving from the previous cycle count as resting.
    SettleMoving(map);
    std::vector<FallMove> moves;
    PlanCycle(map, moves);
    if (tags && tags->size() >= map.size()) {
        std::vector<uint16_t>& t = *tags;
        std::erase_if(moves, [&t](const FallMove& move) {
            if (t[static_cast<size_t>(move.to)] != 0) return false;
            std::swap(t[static_cast<size_t>(move.to)], t[static_cast<size_t>(move.from)]);
            return true;
        });
    }
    ClearMarksOfResting(map);
    SettleMoving(map);
    return !moves.empty();
}

void CCompressAndFallBalls::PlanAll(std::vector<int>& map, std::vector<uint16_t>* tags) {
    while (PlanStep(map, tags)) {
    }
}
