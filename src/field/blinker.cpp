#include "field/blinker.h"

#include <algorithm>
#include <cstdint>
#include <limits>

void CBlinker::Start(int count, int delay) {
    _active = count > 0;
    _remaining = _active ? 2 * std::min(count, std::numeric_limits<int>::max() / 2) : 0;
    _delay = delay > 0 ? delay : 0;
    _countdown.Set(static_cast<uint32_t>(_delay));
}

bool CBlinker::Step() {
    if (!_active) return false;
    _countdown.Decrement();
    if (!_countdown.IsZero()) return false;
    if (--_remaining != 0)
        _countdown.Set(static_cast<uint32_t>(_delay));
    else
        _active = false;
    return true;
}
