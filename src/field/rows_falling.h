#pragma once
// Decides when the next row of balls must drop in, and counts the rows of a
// drop. A row must fall when, once every fall under way has settled, an empty
// cell with a puzzle tile is reached by the flood of empty cells from the
// tiles, or a locked ball stands alone among empty or outside cells.
#include <vector>

class CBallsField;
class CCompressAndFallBalls;

// The tiles as the row-fall test sees them.
class IRowsFallingTiles {
public:
    // The cells the flood of empty cells starts from (appended).
    virtual void GetFloodStartCells(std::vector<int>& cells) const = 0;
    // The tiles keep a record for the cell.
    virtual bool HasCell(int cell) const = 0;

protected:
    ~IRowsFallingTiles() = default;
};

class CRowsFalling {
public:
    // All three outlive this object.
    CRowsFalling(CCompressAndFallBalls* planner, const CBallsField* balls, const IRowsFallingTiles* tiles)
        : _planner(planner), _balls(balls), _tiles(tiles) {}

    // A drop of one row begins.
    void Start() {
        _current = 0;
        _target = 1;
    }
    void Reset() {
        _current = 0;
        _target = 0;
        _value = 0;
    }
    bool IsFalling() const { return _current < _target; }
    // One row of the drop was generated.
    void Advance() { ++_current; }
    // Rows of the drop generated so far.
    int GetCurrent() const { return _current; }
    // The field's mode of the drop (0 none, 1 and 2 set by the field).
    void SetValue(int value) { _value = value; }
    int GetValue() const { return _value; }

    // The test on the field's cell-class map as it is now.
    bool Test();
    // The test on a cell-class map (CCompressAndFallBalls' classes); the map
    // is settled as if every planned fall had happened. True, and a drop
    // started, when a row must fall; else nothing changes.
    bool TestWithMap(std::vector<int>& map);

private:
    bool Fires(const std::vector<int>& map, int cell) const;

    CCompressAndFallBalls* _planner;
    const CBallsField* _balls;
    const IRowsFallingTiles* _tiles;
    int _current = 0;
    int _target = 0;
    int _value = 0;
    // Scratch buffers of the flood, kept between tests.
    std::vector<int> _map;
    std::vector<char> _reached;
    std::vector<int> _queue;
};
