#pragma once
// A number that counts up on a label in 50 steps, with a tick sample per step
// (the statistics dialog's counters).
#include <cstdint>

class CLabelCounter {
public:
    // min above max is a failed check; the counter then counts down to max.
    CLabelCounter(int32_t min_n, int32_t max_n);

    // One step toward max (playing the tick), or max itself once the rest is
    // no more than one step. Returns the value truncated toward zero.
    int32_t Update();
    bool IsFinished() const;
    int32_t GetValue() const { return static_cast<int32_t>(_value); }

private:
    float _min;
    float _max;
    float _value;
    float _step;
};
