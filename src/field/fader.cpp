#include "field/fader.h"

#include <cmath>

#include "field/countdown.h"

void CFader::SetSpeed(float speed) {
    _speed = speed;
    _state = kIdle;
}

void CFader::Start(float min, float max, uint32_t mode) {
    if (mode == kDown) {
        FadeDown(min, max);
    } else if (mode == kUp) {
        FadeUp(min, max);
    }
}

void CFader::FadeUp(float min, float max) {
    SetLimits(min, max);
    SetValue(min);
    _speed = std::fabs(_speed);
    _state = kUp;
}

void CFader::FadeDown(float min, float max) {
    SetLimits(min, max);
    SetValue(max);
    _speed = -std::fabs(_speed);
    _state = kDown;
}

bool CFader::Update() {
    if (_state == kIdle) return true;
    _value += _speed;
    if (!ClampFloat(_value, _min, _max)) return false;
    _state = kIdle;
    return true;
}

void CFader::SetValue(float value) {
    _value = value;
    ClampFloat(_value, _min, _max);
}

void CFader::SetLimits(float min, float max) {
    _min = min;
    _max = max;
}
