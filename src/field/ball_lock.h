#pragma once
// The lock over a ball: it takes a number of hits before it breaks, and shows
// the lock table's picture for the hits it still takes. Its sprite is drawn
// through the shared lock keeper (ball_tables.h).
#include <memory>

#include "graphics/object_2d.h"

class CBallLock {
public:
    // A lock of `level` hits with its picture's top-left at (x, y). Reads the
    // lock table first when it is empty (which throws when it stays empty).
    CBallLock(int level, float x, float y);
    // The strongest lock the table shows (reads the table as the constructor does).
    static int MaxLevel();

    // One hit: true when the lock broke; otherwise the picture of the hits
    // left is shown.
    bool Hit();
    // Makes the sprite at (x, y) with the table's picture for the present
    // solidity; a solidity past the table is logged and clamped to its last
    // entry.
    void SetSolidityGraphics(float x, float y);

    // The hits the lock takes after the next one.
    int GetSolidity() const { return _solidity; }
    void SetAlpha(int alpha);
    const C2DObject& GetSprite() const { return *_sprite; }

private:
    int _solidity;
    std::unique_ptr<C2DObject> _sprite;
};
