#include "engine/vector2.h"

#include <cmath>

float CVector2::Length() const { return std::sqrt(x * x + y * y); }

CVector2 CVector2::Normalize() {
    float len = Length();
    if (len != 0.0f) *this /= len;
    return *this;
}

CVector2 CVector2::GetNormal() const {
    CVector2 n(y, -x);
    return n.Normalize();
}

CAngle CVector2::GetAngle() const {
    float len = Length();
    if (len == 0.0f) return CAngle(0.0f);
    float cosine = x / len;
    if (cosine > 1.0f) cosine = 1.0f;
    if (cosine < -1.0f) cosine = -1.0f;
    float degrees = std::acos(cosine) * 57.295776f;
    if (y < 0.0f) degrees = -degrees;
    return CAngle(degrees);
}

float Length(const CVector2& v) { return v.Length(); }

CVector2 Normalize(const CVector2& v) {
    float len = v.Length();
    return len == 0.0f ? v : v / len;
}

void Rotate(CVector2& v, const CAngle& angle) {
    float a = angle.Radians();
    float c = std::cos(a), s = std::sin(a);
    float x = v.x * c - v.y * s;
    float y = v.y * c + v.x * s;
    v.x = x;
    v.y = y;
}
