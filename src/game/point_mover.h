#pragma once
// Moves a point toward a target at a fixed speed per update.
#include <cstdint>

#include "engine/vector2.h"

class CPointMover {
public:
    // The speed counts by its size.
    void Start(const CVector2& from, const CVector2& to, float speed);
    // One step (nothing while inactive); returns the point. The step that
    // finds the target closer than one step lands on it and stops.
    CVector2 Update();
    void Stop() { _active = 0; }

    bool IsActive() const { return _active != 0; }
    const CVector2& GetPos() const { return _pos; }
    const CVector2& GetTarget() const { return _target; }
    float GetSpeed() const { return _speed; }

private:
    CVector2 _pos;
    CVector2 _target;
    float _speed = 0;
    uint8_t _active = 0;
};
