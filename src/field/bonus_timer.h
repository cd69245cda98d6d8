#pragma once
// The appearance timer of one bonus ball type of a level: when its countdown
// runs out, an ordinary ball turns into a ball of `graph_type`. Lengths in
// update ticks.
#include "field/countdown.h"

struct BonusTimer {
    int graph_type = 0;
    int range_time = 0;
    int range_plus_minus = 0;
    CCountdown countdown;
};
