#pragma once
// A countdown of frames, and the in-place float clamp that the per-frame
// objects share.
#include <cstdint>

class CCountdown {
public:
    // Arms the countdown with n frames (0 makes it zero at once).
    void Set(uint32_t n) {
        _current = n;
        _start = n;
    }
    // One frame down; stays at 0.
    void Decrement() {
        if (_current != 0) --_current;
    }
    bool IsZero() const { return _current == 0; }
    uint32_t GetCurrent() const { return _current; }
    uint32_t GetStart() const { return _start; }

private:
    uint32_t _current = 0;
    uint32_t _start = 0;
};

// Moves a value outside [min, max] onto the bound it passed and answers true;
// a value inside, or exactly on a bound, is left alone and the answer is false.
bool ClampFloat(float& value, float min, float max);
