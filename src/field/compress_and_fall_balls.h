#pragma once
// Plans the falls after balls were removed, one cell per ball and cycle:
// straight down into an empty cell, and, where a column is not fed from
// above, diagonally down into an empty neighbour column. A live cycle
// (Compress) hands its moves to the balls field, which animates them; the
// field's look-ahead runs the same planner on a map of its own (PlanStep).
//
// The cell map holds one int per cell: the low byte is the cell's kind, bit
// 0x100 the new-ball mark of the ball in it.
#include <cstdint>
#include <vector>

#include "field/ball_move.h"

class CGenerators;
class IBonusDataSource;

using FallMove = BallMove;

class CCompressAndFallBalls {
public:
    enum Kind : int {
        kOutside = 0,         // neither a generator nor an active cell
        kEmpty = 1,
        kEmptyGenerator = 2,
        kBall = 3,            // can fall and slide
        kMovingBall = 4,      // a kind-3 ball on its way
        kFixedBall = 5,       // locked, dying or otherwise not resting
        kStraightBall = 6,    // can fall, never slides (a fragment)
        kMovingStraight = 7,  // a kind-6 ball on its way
    };
    static constexpr int kMark = 0x100;

    // The owner (the field) reaches the balls field and the active cells; the
    // generators are the field's. Both outlive the planner.
    CCompressAndFallBalls(IBonusDataSource* owner, const CGenerators* generators)
        : _owner(owner), _generators(generators) {}

    void BuildCellMap(std::vector<int>& map) const;
    // One live cycle on a fresh map; true when moves were handed to the balls
    // field.
    bool Compress();
    // One cycle on the caller's map. `tags` (one value per cell, or null) are
    // carried along with the balls: a move into a cell whose tag is 0 takes
    // its tag along and leaves the list. True when moves remain.
    bool PlanStep(std::vector<int>& map, std::vector<uint16_t>* tags);
    // PlanStep until it plans nothing.
    void PlanAll(std::vector<int>& map, std::vector<uint16_t>* tags);

private:
    static int KindOf(int value) { return value & 0xFF; }
    // The same ball on its way: 3 -> 4, 6 -> 7, mark kept.
    static int Moving(int value);
    bool IsGenerator(int cell) const;
    int EmptyKindFor(int cell) const { return IsGenerator(cell) ? kEmptyGenerator : kEmpty; }

    // One cycle's planning, moves appended to `moves`.
    void PlanCycle(std::vector<int>& map, std::vector<FallMove>& moves) const;
    void FallColumn(std::vector<int>& map, int column, std::vector<FallMove>& moves) const;
    bool SlideInColumn(std::vector<int>& map, int column, std::vector<FallMove>& moves) const;
    // -1 left, +1 right, 0 no slide.
    int ChooseSide(const std::vector<int>& map, int cell) const;
    // The run of empty cells from `cell` on in steps of width + dx (0 when the
    // side cannot be used).
    int SideScore(const std::vector<int>& map, int cell, int dx) const;
    bool IsColumnFeeding(const std::vector<int>& map, int cell) const;
    static void ClearMarksOfResting(std::vector<int>& map);
    // Kinds 4 and 7 back to 3 and 6, marks kept.
    static void SettleMoving(std::vector<int>& map);

    IBonusDataSource* _owner;
    const CGenerators* _generators;
};
