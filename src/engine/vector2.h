#pragma once
// A point or vector of two floats in screen pixels (x to the right, y down).
// Division by zero is not guarded: callers keep to non-zero divisors.
#include "engine/angle.h"

class CVector2 {
public:
    float x = 0, y = 0;

    CVector2() = default;
    CVector2(float x_, float y_) : x(x_), y(y_) {}

    CVector2& operator+=(const CVector2& o) { x += o.x; y += o.y; return *this; }
    CVector2& operator-=(const CVector2& o) { x -= o.x; y -= o.y; return *this; }
    CVector2& operator*=(float s) { x *= s; y *= s; return *this; }
    CVector2& operator/=(float s) { x /= s; y /= s; return *this; }
    CVector2& operator*=(const CVector2& o) { x *= o.x; y *= o.y; return *this; }  // component-wise

    float Length() const;
    // Divides itself by its length unless that is 0; returns the result.
    CVector2 Normalize();
    // (y, -x), normalised.
    CVector2 GetNormal() const;
    // 0 for the zero vector; else acos(x / length) in degrees, negated when y < 0:
    // (0, 1) is 90 and (0, -1) is 270.
    CAngle GetAngle() const;

    bool operator==(const CVector2&) const = default;
};

inline CVector2 operator+(CVector2 a, const CVector2& b) { return a += b; }
inline CVector2 operator-(CVector2 a, const CVector2& b) { return a -= b; }
inline CVector2 operator*(CVector2 v, float s) { return v *= s; }
inline CVector2 operator*(float s, CVector2 v) { return v *= s; }
inline CVector2 operator/(CVector2 v, float s) { return v /= s; }

float Length(const CVector2& v);
// v / |v|, or v itself when its length is 0.
CVector2 Normalize(const CVector2& v);
// Turns v in place: x' = x cos a - y sin a, y' = y cos a + x sin a.
void Rotate(CVector2& v, const CAngle& angle);
