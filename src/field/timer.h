#pragma once
// A stopwatch with an interval: answers whether the interval has passed since
// it was started (the field's hint delay). It keeps running once elapsed; it
// is armed again by Stop and Start.
#include "field/seconds_counter.h"

class CTimer : public CSecondsCounter {
public:
    explicit CTimer(MsClock clock = {}) : CSecondsCounter(std::move(clock)) {}

    // False for interval 0 and while the timer is not stopped.
    bool Start(uint32_t interval);
    // Disarms the timer when the stop succeeds.
    bool Stop() override;
    // False while not armed, else elapsed >= interval.
    bool IsElapsed() const;
    uint32_t GetInterval() const { return _interval; }

private:
    // The plain stopwatch start would leave the timer unarmed.
    using CSecondsCounter::Start;

    uint32_t _interval = 0;
};
