#pragma once
// A stopwatch in milliseconds of game time with pause and resume, on a 32-bit
// millisecond clock that wraps like the multimedia timer; differences are
// taken unsigned, so a run across the wrap measures right. The level timer
// of the field is one.
#include <cstdint>
#include <functional>

// A millisecond clock; an empty one means the game clock.
using MsClock = std::function<uint32_t()>;

class CSecondsCounter {
public:
    enum State : int32_t { csRunning = 0, csStopped = 1, csPaused = 2 };

    explicit CSecondsCounter(MsClock clock = {});
    virtual ~CSecondsCounter() = default;

    // Only from stopped: runs from now with nothing elapsed.
    virtual bool Start();
    // From running or paused: keeps now - start as the elapsed time.
    virtual bool Stop();
    // Only from running: the time until Resume does not count.
    bool Pause();
    bool Resume();
    // now - start while running, else the kept elapsed time.
    uint32_t GetElapsed() const;
    int32_t GetState() const { return _state; }
    // Paused at `milliseconds` elapsed (a restored level time), from any state.
    void SetPaused(uint32_t milliseconds);

protected:
    uint32_t Now() const { return _clock(); }

private:
    MsClock _clock;
    uint32_t _start_time = 0;
    uint32_t _pause_time = 0;
    uint32_t _elapsed = 0;
    int32_t _state = csStopped;
};
