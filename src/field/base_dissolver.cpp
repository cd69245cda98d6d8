#include "field/base_dissolver.h"

#include <cstdlib>

void CBaseDissolver::Start(int from, int to, int speed) {
    if (from != to && speed <= 0) {
        _target = to;
        _current = to;
        _step = 0;
        Finish();
        return;
    }
    _target = to;
    _step = (to > from ? 1 : to < from ? -1 : 0) * speed;
    _current = from;
    OnValue(_current);
    _active = true;
}

void CBaseDissolver::Update() {
    if (!_active) return;
    _current += _step;
    if (std::abs(_current - _target) <= std::abs(_step)) {
        _current = _target;
        _active = false;
    }
    OnValue(_current);
}

void CBaseDissolver::Finish() {
    OnValue(_target);
    _active = false;
}

int CBaseDissolver::SpeedFor(int frames) {
    if (frames <= 0) return 0;
    const int speed = 255 / frames;
    return speed > 0 ? speed : 1;
}
