#include "engine/angle.h"

#include "engine/vector2.h"

CAngle::CAngle(const CVector2& v) { Set(v.GetAngle().Get()); }

float CAngle::Set(float degrees) {
    _degrees = degrees;
    if (_degrees >= 360.0f) _degrees -= 360.0f;
    if (_degrees < 0.0f) _degrees += 360.0f;
    return _degrees;
}

float CAngle::Radians() const { return _degrees * 3.1415927f / 180.0f; }
