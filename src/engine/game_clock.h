#pragma once
// Game time: the milliseconds of frame time the main loop has handed the
// scenes. Every timer of the simulation (the field's level and hint timers,
// birds, bonuses, row delays, effects, dialog delays, double clicks) reads this
// clock, so a run depends on its inputs and its seed, never on how fast the
// machine draws. Tests and the headless player advance it by one frame period
// per update.
#include <cstdint>

class CGameClock {
public:
    // Milliseconds of game time; wraps like the multimedia timer (differences
    // are taken unsigned).
    uint32_t Now() const { return _now; }
    void Advance(uint32_t milliseconds) { _now += milliseconds; }
    void Reset(uint32_t milliseconds = 0) { _now = milliseconds; }

private:
    uint32_t _now = 0;
};

// The one clock of the running program.
CGameClock& GameClock();
// Shorthand for GameClock().Now(), usable as a millisecond clock function.
uint32_t GameTimeMs();
