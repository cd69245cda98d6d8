#pragma once
// The rule of the game: which resting balls stand in lines of three or more
// alike balls (same graph type), which lines are groups of four or of five
// and more, and which cells earn a combo. It only finds; killing and scoring
// are the field's.
//
// After a swap only the lines through the two swapped cells are looked for;
// with no cell at all the whole field is scanned. Lines are walked from their
// right or bottom end; every walk stops at the field's edge, so a line never
// runs on from the end of one row into the next.
#include <vector>

#include "field/match_entry.h"

class CBallsField;

class CMatchFinder {
public:
    // `balls` outlives the finder.
    explicit CMatchFinder(const CBallsField* balls) : _balls(balls) {}

    // `from` and `to` are cells or -1 (both -1: the whole field). Every given
    // list is cleared first; the match-4 and match-5 lists are filled only
    // when both are given. `cells_to_delete` ascends; the others follow the
    // order in which the lines and combos were found. A walk that leaves the
    // field inside a line fails the check and throws "Assertion failed".
    void FindMatches(std::vector<int>& cells_to_delete, int from, int to, std::vector<int>* combo_cells = nullptr,
                     std::vector<int>* match4_cells = nullptr, std::vector<int>* match5_cells = nullptr);

    // What the last search found: one hit count per cell, the lines of four
    // or more, the combos.
    const std::vector<int>& GetCounters() const { return _counters; }
    const std::vector<MatchEntry>& GetLines() const { return _lines; }
    const std::vector<MatchEntry>& GetCombos() const { return _combos; }

private:
    // One step on the grid.
    struct Step {
        int dcol = 0;
        int drow = 0;
        bool IsZero() const { return dcol == 0 && drow == 0; }
        bool IsHorizontal() const { return drow == 0 && dcol != 0; }
        Step Reversed() const { return {-dcol, -drow}; }
    };

    void FindLines(int from, int to);
    void SearchLinesFromCell(int cell);
    void AddLine(Step step, int count, int start);
    void FindCombos();
    void FindCrossings();
    void FindSideBySideLines();
    // The direction in which an alike counted ball stands next to the cell;
    // a zero step when none does.
    Step GetLineStep(int cell) const;
    // Appends the cells from `start` on in `step` while they are counted and
    // hold a ball of `graph_type`.
    void CollectRun(const std::vector<int>& counters, int start, Step step, int graph_type,
                    std::vector<int>& out) const;

    // The cell one step away, -1 outside the field.
    static int Neighbour(int cell, Step step);
    // The graph type of the cell's ball, -1 for an empty or invalid cell.
    int KindOf(int cell) const;
    bool IsMatchable(int cell) const;

    const CBallsField* _balls;
    std::vector<int> _counters;
    std::vector<int> _counters_copy;
    std::vector<MatchEntry> _lines;
    std::vector<MatchEntry> _combos;
};
