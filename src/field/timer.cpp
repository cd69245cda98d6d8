#include "field/timer.h"

bool CTimer::Start(uint32_t interval) {
    if (interval == 0 || !CSecondsCounter::Start()) return false;
    _interval = interval;
    return true;
}

bool CTimer::Stop() {
    const bool stopped = CSecondsCounter::Stop();
    if (stopped) _interval = 0;
    return stopped;
}

bool CTimer::IsElapsed() const { return _interval != 0 && GetElapsed() >= _interval; }
