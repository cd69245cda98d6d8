#include "game/point_mover.h"

#include <cmath>

void CPointMover::Start(const CVector2& from, const CVector2& to, float speed) {
    _pos = from;
    _target = to;
    _speed = std::fabs(speed);
    _active = 1;
}

CVector2 CPointMover::Update() {
    if (!_active) return _pos;
    CVector2 d = _target - _pos;
    const float length = d.Length();
    // A mover already on its target stops even at speed 0.
    if (length < _speed || length == 0.0f) {
        _pos = _target;
        _active = 0;
    } else {
        d.Normalize();
        _pos = _pos + d * _speed;
    }
    return _pos;
}
