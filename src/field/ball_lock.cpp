#include "field/ball_lock.h"

#include "engine/logger.h"
#include "field/ball_tables.h"

CBallLock::CBallLock(int level, float x, float y) : _solidity(level - 1), _sprite(std::make_unique<C2DObject>()) {
    if (g_BallLockGraphics->empty()) LoadBallLockSolidity();
    SetSolidityGraphics(x, y);
}

int CBallLock::MaxLevel() {
    if (g_BallLockGraphics->empty()) LoadBallLockSolidity();
    return static_cast<int>(g_BallLockGraphics->size());
}

void CBallLock::SetSolidityGraphics(float x, float y) {
    const std::vector<CGraphicsDesc>& table = *g_BallLockGraphics;
    const int size = static_cast<int>(table.size());
    // Taken as unsigned, so a negative solidity counts as past the table.
    if (static_cast<unsigned>(_solidity) >= static_cast<unsigned>(size)) {
        CLogger::Instance().Log(2, "Error: Invalid lock solidity value %d! Max value is %d", _solidity, size - 1);
        _solidity = size - 1;
    }
    if (_solidity < 0) return;  // no table at all: nothing to show
    const CGraphicsDesc& graphics = table[static_cast<size_t>(_solidity)];
    _sprite = std::make_unique<C2DObject>();
    _sprite->Create(x, y, graphics, false);
    _sprite->SetRenderer(g_BallLockKeeper->GetRenderer(graphics.texture));
}

bool CBallLock::Hit() {
    ASSERT(_solidity >= 0);
    --_solidity;
    if (_solidity < 0) return true;
    SetSolidityGraphics(_sprite->GetLeft(), _sprite->GetTop());
    return false;
}

void CBallLock::SetAlpha(int alpha) { _sprite->SetAlpha(alpha, kAllCorners); }
