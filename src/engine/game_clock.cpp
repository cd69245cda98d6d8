#include "engine/game_clock.h"

CGameClock& GameClock() {
    static CGameClock clock;
    return clock;
}

uint32_t GameTimeMs() { return GameClock().Now(); }
