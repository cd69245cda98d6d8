#pragma once
// Counts the visibility changes of a blink: `count` disappearances and as
// many reappearances, `delay` ticks apart.
#include "field/countdown.h"

class CBlinker {
public:
    // A count of 0 or less is no blink: the blinker stays inactive. A
    // negative delay counts as 0 (a change every tick).
    void Start(int count, int delay);
    // One tick; true when the visibility changes on it.
    bool Step();
    bool IsActive() const { return _active; }
    int GetRemaining() const { return _remaining; }

private:
    bool _active = false;
    int _remaining = 0;
    int _delay = 0;
    CCountdown _countdown;
};
