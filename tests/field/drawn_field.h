#pragma once
// Small fields drawn as text in the tests, one string per row: the level is
// loaded with the drawing's size, then each symbol is handed to the test with
// its cell.
#include <string>
#include <vector>

#include "field/level_cfg.h"

namespace field_test {

inline int DrawnWidth(const std::vector<std::string>& rows) { return static_cast<int>(rows[0].size()); }
inline int DrawnHeight(const std::vector<std::string>& rows) { return static_cast<int>(rows.size()); }

// `put(cell, symbol)` for every symbol, row by row; the level geometry must
// already have the drawing's size.
template <class Put>
void ForEachDrawnCell(const std::vector<std::string>& rows, Put put) {
    for (int y = 0; y < DrawnHeight(rows); ++y)
        for (int x = 0; x < DrawnWidth(rows); ++x)
            put(g_LevelCFG->PosToCell(x, y), rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
}

}  // namespace field_test
