#pragma once
// The level's bonus timers by bonus type, walked in ascending bonus type.
#include <cstddef>
#include <map>
#include <vector>

#include "field/bonus_timer.h"

class CBonusTimers {
public:
    // Stores the timer under the bonus type, replacing one of the same type.
    void Add(int bonus_type, const BonusTimer& timer) { _timers[bonus_type] = timer; }
    // Every timer gets a new random length.
    void ArmAll();
    // One tick off every countdown not yet at 0.
    void TickAll();
    // Empties `due`, then appends the graph type of every timer at 0 (in
    // ascending bonus type) and re-arms it; true when `due` is not empty.
    bool CollectDue(std::vector<int>& due);
    void Clear() { _timers.clear(); }
    bool IsEmpty() const { return _timers.empty(); }
    size_t GetCount() const { return _timers.size(); }
    // The timer of a bonus type, or null.
    const BonusTimer* Find(int bonus_type) const;

    // |a random integer in [range - plus_minus, range + plus_minus)|, the
    // bound itself when plus_minus is 0.
    static int RandomLength(const BonusTimer& timer);

private:
    static void Arm(BonusTimer& timer);

    std::map<int, BonusTimer> _timers;
};
