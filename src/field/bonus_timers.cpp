#include "field/bonus_timers.h"

#include <cstdlib>

#include "engine/game_math.h"

int CBonusTimers::RandomLength(const BonusTimer& timer) {
    return std::abs(RandomRange(timer.range_time - timer.range_plus_minus, timer.range_time + timer.range_plus_minus));
}

void CBonusTimers::Arm(BonusTimer& timer) { timer.countdown.Set(static_cast<uint32_t>(RandomLength(timer))); }

void CBonusTimers::ArmAll() {
    for (auto& [type, timer] : _timers) Arm(timer);
}

void CBonusTimers::TickAll() {
    for (auto& [type, timer] : _timers) timer.countdown.Decrement();
}

bool CBonusTimers::CollectDue(std::vector<int>& due) {
    due.clear();
    for (auto& [type, timer] : _timers) {
        if (!timer.countdown.IsZero()) continue;
        due.push_back(timer.graph_type);
        Arm(timer);
    }
    return !due.empty();
}

const BonusTimer* CBonusTimers::Find(int bonus_type) const {
    auto it = _timers.find(bonus_type);
    return it == _timers.end() ? nullptr : &it->second;
}
