#pragma once
// The generator cells of a level: the cells (each under a bird) through which
// new balls enter the field, with their "delay" from the level file. Answers
// what the fall planner, the birds and the field's row dropping ask about
// them and the cells just below them.
#include <vector>

class IBonusDataSource;

struct GeneratorCell {
    int cell = -1;
    int delay = 0;

    bool operator==(const GeneratorCell&) const = default;
};

class CGenerators {
public:
    // Cells more than this many rows below a generator do not count as room.
    static constexpr int kMaxFreeDepth = 5;

    // The owner (the field) reaches the balls field; it outlives this object.
    explicit CGenerators(IBonusDataSource* owner) : _owner(owner) {}

    // Replaces the list by the tiles field's generators (in level-file order)
    // and answers the largest delay (0 without generators).
    int Load(const std::vector<GeneratorCell>& generators);

    // A cell that is not valid logs the failed check and answers false.
    bool IsGeneratorCell(int cell_index) const;
    // Every generator cell, appended in list order.
    void GetAllCells(std::vector<int>& out) const;
    // The generator cells whose delay, taken as unsigned, is at least `d`
    // (so a negative delay counts as larger than any), appended.
    void GetCellsWithDelay(std::vector<int>& out, int d) const;
    // Every generator with a valid cell below has both cells empty, and there
    // is at least one such generator.
    bool AreAllOpen() const;
    // The same on a fall planner's cell map: kind 2 on the generator, 1 below.
    bool AreAllOpenInMap(const std::vector<int>& map) const;
    // The most free cells among the 5 below any generator: a cell is free when
    // it is empty, holds a falling ball, or while rows are still queued to
    // drop (`rows_pending`).
    int GetFreeDepth(bool rows_pending) const;
    // Some generator's cell, or the cell below it, holds a falling ball: the
    // column is still being fed and a new row must wait.
    bool IsAnyFeeding() const;

    const std::vector<GeneratorCell>& GetCells() const { return _cells; }

private:
    // The cell below a generator, or -1 when there is none.
    static int CellBelow(int cell);

    IBonusDataSource* _owner;
    std::vector<GeneratorCell> _cells;
};
