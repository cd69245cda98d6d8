#include "game/rotator.h"

#include <algorithm>
#include <cmath>

void CRotator::Start(float angle, float remaining, float step) {
    _angle = angle;
    _remaining = remaining;
    _step = step;
    _active = 1;
}

float CRotator::Update() {
    if (!_active) return _angle;
    const float turn = 2.0f * _step;
    if (_remaining < 0.0f) {
        _angle += turn;
    } else {
        // A limited turn ends exactly on its last degree.
        const float size = std::min(std::fabs(turn), _remaining);
        _angle += turn < 0.0f ? -size : size;
        _remaining -= size;
        if (_remaining <= 0.0f) _active = 0;
    }
    if (_angle < 0.0f)
        _angle += 360.0f;
    else if (_angle >= 360.0f)
        _angle -= 360.0f;
    return _angle;
}
