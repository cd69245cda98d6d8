#pragma once
// Advances an angle every update: endlessly (remaining < 0) or through a
// given number of degrees.
#include <cstdint>

class CRotator {
public:
    // remaining < 0: turns for ever.
    void Start(float angle, float remaining, float step);
    // One step; returns the angle, kept in [0, 360).
    float Update();

    bool IsActive() const { return _active != 0; }
    float GetAngle() const { return _angle; }

private:
    float _angle = 0;
    float _remaining = 0;
    float _step = 0;
    uint8_t _active = 0;
};
