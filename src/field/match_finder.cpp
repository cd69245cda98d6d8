#include "field/match_finder.h"

#include <algorithm>
#include <array>

#include "engine/logger.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/level_cfg.h"

namespace {

// Lines shorter than this are no match.
constexpr float kMinMatchLength = 3.0f;

}  // namespace

void CMatchFinder::FindMatches(std::vector<int>& cells_to_delete, int from, int to, std::vector<int>* combo_cells,
                               std::vector<int>* match4_cells, std::vector<int>* match5_cells) {
    cells_to_delete.clear();
    if (combo_cells) combo_cells->clear();
    if (match4_cells) match4_cells->clear();
    if (match5_cells) match5_cells->clear();

    FindLines(from, to);
    FindCombos();

    for (int cell = 0; cell < static_cast<int>(_counters.size()); ++cell)
        if (_counters[static_cast<size_t>(cell)] != 0) cells_to_delete.push_back(cell);
    if (combo_cells)
        for (const MatchEntry& combo : _combos) combo_cells->push_back(combo.index[combo.index.size() / 2]);
    if (!match4_cells || !match5_cells) return;
    for (const MatchEntry& line : _lines) {
        if (!ASSERT(!line.index.empty())) continue;
        const int cell = line.index[line.index.size() / 2 - 1];
        (line.index.size() == 4 ? match4_cells : match5_cells)->push_back(cell);
    }
}

void CMatchFinder::FindLines(int from, int to) {
    _counters.assign(static_cast<size_t>(std::max(g_LevelCFG->GetCellCount(), 0)), 0);
    _lines.clear();
    if (from != CELL_ERROR) SearchLinesFromCell(from);
    if (to != CELL_ERROR) SearchLinesFromCell(to);
    if (from != CELL_ERROR || to != CELL_ERROR) return;
    for (int cell = 0; cell < static_cast<int>(_counters.size()); ++cell) {
        if (_counters[static_cast<size_t>(cell)] != 0) continue;
        if (_balls->CellPredicate(cell) || _balls->IsCellLocked(cell)) SearchLinesFromCell(cell);
    }
}

void CMatchFinder::SearchLinesFromCell(int cell) {
    const int kind = KindOf(cell);
    if (kind < 0) return;  // a swapped cell left empty has no lines
    // Down, right, up, left.
    static constexpr std::array<Step, 4> kDirections {{{0, 1}, {1, 0}, {0, -1}, {-1, 0}}};
    std::array<int, 4> arms {};
    for (size_t d = 0; d < kDirections.size(); ++d) {
        int arm = 1;
        for (int pos = Neighbour(cell, kDirections[d]); pos != CELL_ERROR && IsMatchable(pos) && KindOf(pos) == kind;
             pos = Neighbour(pos, kDirections[d]))
            ++arm;
        arms[d] = arm;
    }
    const int down = arms[0], right = arms[1], up = arms[2], left = arms[3];
    int col = 0, row = 0;
    g_LevelCFG->CellToPos(cell, col, row);
    const int horizontal = right + left - 1;
    if (static_cast<float>(horizontal) >= kMinMatchLength)
        AddLine(kDirections[3], horizontal, g_LevelCFG->PosToCell(col + right - 1, row));
    const int vertical = down + up - 1;
    if (static_cast<float>(vertical) >= kMinMatchLength)
        AddLine(kDirections[2], vertical, g_LevelCFG->PosToCell(col, row + down - 1));
}

void CMatchFinder::AddLine(Step step, int count, int start) {
    if (static_cast<float>(count) < kMinMatchLength) return;
    MatchEntry entry;
    int cell_index = start;
    for (int i = 0; i < count; ++i) {
        ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell_index));
        ++_counters[static_cast<size_t>(cell_index)];
        entry.index.push_back(cell_index);
        cell_index = Neighbour(cell_index, step);
    }
    // A line of three is deleted but earns no extra.
    if (count > 3) _lines.push_back(std::move(entry));
}

void CMatchFinder::FindCombos() {
    _combos.clear();
    FindCrossings();
    FindSideBySideLines();
}

namespace {

// Neighbours of a cell in the combo search: up, right, down, left.
struct ComboStep {
    int dcol, drow;
};
constexpr std::array<ComboStep, 4> kComboSteps {{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}};

}  // namespace

void CMatchFinder::FindCrossings() {
    for (int cell = 0; cell < static_cast<int>(_counters.size()); ++cell) {
        if (_counters[static_cast<size_t>(cell)] <= 1) continue;
        const int kind = KindOf(cell);
        MatchEntry entry;
        for (const ComboStep& offset : kComboSteps) {
            const Step step {offset.dcol, offset.drow};
            const int next = Neighbour(cell, step);
            if (next == CELL_ERROR || _counters[static_cast<size_t>(next)] == 0 || KindOf(next) != kind) continue;
            CollectRun(_counters, next, step, kind, entry.index);
        }
        if (entry.index.empty()) continue;
        entry.index.push_back(cell);
        _combos.push_back(std::move(entry));
    }
}

void CMatchFinder::FindSideBySideLines() {
    _counters_copy = _counters;
    std::vector<int>& copy = _counters_copy;
    for (int cell = 0; cell < static_cast<int>(copy.size()); ++cell) {
        if (copy[static_cast<size_t>(cell)] == 0) continue;
        const int kind = KindOf(cell);
        for (const ComboStep& offset : kComboSteps) {
            const int next = Neighbour(cell, {offset.dcol, offset.drow});
            if (next == CELL_ERROR || copy[static_cast<size_t>(next)] == 0) continue;
            const int next_kind = KindOf(next);
            if (next_kind == kind) continue;
            const Step own = GetLineStep(cell);
            const Step other = GetLineStep(next);
            if (own.IsZero() || other.IsZero() || own.IsHorizontal() != other.IsHorizontal()) continue;
            // Both lines run the same way: the two runs side by side.
            const Step step = own.IsHorizontal() ? Step {1, 0} : Step {0, 1};
            MatchEntry entry;
            CollectRun(copy, Neighbour(cell, step), step, kind, entry.index);
            CollectRun(copy, Neighbour(cell, step.Reversed()), step.Reversed(), kind, entry.index);
            CollectRun(copy, Neighbour(next, step), step, next_kind, entry.index);
            CollectRun(copy, Neighbour(next, step.Reversed()), step.Reversed(), next_kind, entry.index);
            if (!entry.index.empty()) {
                for (int collected : entry.index) copy[static_cast<size_t>(collected)] = 0;
                entry.index.push_back(cell);
                entry.index.push_back(next);
                _combos.push_back(std::move(entry));
            }
            break;
        }
    }
}

CMatchFinder::Step CMatchFinder::GetLineStep(int cell) const {
    const int kind = KindOf(cell);
    for (const ComboStep& offset : kComboSteps) {
        const Step step {offset.dcol, offset.drow};
        const int next = Neighbour(cell, step);
        if (next != CELL_ERROR && _counters[static_cast<size_t>(next)] != 0 && KindOf(next) == kind) return step;
    }
    return {};
}

void CMatchFinder::CollectRun(const std::vector<int>& counters, int start, Step step, int graph_type,
                              std::vector<int>& out) const {
    for (int pos = start; pos != CELL_ERROR && counters[static_cast<size_t>(pos)] != 0 && KindOf(pos) == graph_type;
         pos = Neighbour(pos, step))
        out.push_back(pos);
}

int CMatchFinder::Neighbour(int cell, Step step) {
    int col = 0, row = 0;
    if (!g_LevelCFG->CellToPos(cell, col, row)) return CELL_ERROR;
    return g_LevelCFG->PosToCell(col + step.dcol, row + step.drow);
}

int CMatchFinder::KindOf(int cell) const {
    if (!g_LevelCFG->IsValidCell(cell) || _balls->IsCellEmpty(cell)) return -1;
    return _balls->GetBall(cell).graph_type;
}

bool CMatchFinder::IsMatchable(int cell) const { return _balls->GetCellBallState(cell) == bsDEFAULT; }
