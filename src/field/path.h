#pragma once
// The player's current move: the cell of the selected ball, the cell it is
// swapped with, and how far the move has got (0 a ball is selected, 1 the
// partner is chosen).
#include <cstdint>

class CPath {
public:
    CPath() { Reset(); }

    void Reset() {
        _from = -1;
        _to = -1;
        _stage = 0;
    }
    void SetFrom(int cell) {
        _from = cell;
        _stage = 0;
    }
    void SetTo(int cell) {
        _to = cell;
        _stage = 1;
    }
    int GetFrom() const { return _from; }
    int GetTo() const { return _to; }
    uint8_t GetStage() const { return _stage; }
    void SetStage(uint8_t stage) { _stage = stage; }

private:
    int _from;
    int _to;
    uint8_t _stage;
};
