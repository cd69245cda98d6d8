#include "field/seconds_counter.h"

#include "engine/game_clock.h"

CSecondsCounter::CSecondsCounter(MsClock clock) : _clock(clock ? std::move(clock) : MsClock(GameTimeMs)) {}

bool CSecondsCounter::Start() {
    if (_state != csStopped) return false;
    _state = csRunning;
    _start_time = Now();
    _elapsed = 0;
    _pause_time = 0;
    return true;
}

bool CSecondsCounter::Stop() {
    if (_state == csStopped) return false;
    _elapsed = Now() - _start_time;
    _state = csStopped;
    return true;
}

bool CSecondsCounter::Pause() {
    if (_state != csRunning) return false;
    _state = csPaused;
    _pause_time = Now();
    _elapsed = _pause_time - _start_time;
    return true;
}

bool CSecondsCounter::Resume() {
    if (_state != csPaused) return false;
    _state = csRunning;
    _start_time += Now() - _pause_time;
    return true;
}

uint32_t CSecondsCounter::GetElapsed() const { return _state == csRunning ? Now() - _start_time : _elapsed; }

void CSecondsCounter::SetPaused(uint32_t milliseconds) {
    _state = csPaused;
    _pause_time = Now();
    _start_time = _pause_time - milliseconds;
    _elapsed = milliseconds;
}
