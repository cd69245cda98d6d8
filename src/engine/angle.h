#pragma once
// An angle in degrees kept in [0, 360) by one correction step: 725 becomes 365
// and -400 becomes -40, so callers add small steps.

class CVector2;

class CAngle {
public:
    CAngle() = default;
    CAngle(float degrees) { Set(degrees); }  // NOLINT: angles are written as plain numbers
    explicit CAngle(const CVector2& v);

    // Stores the value, then subtracts 360 when it is 360 or more, then adds 360
    // when it is below 0. Returns the stored value.
    float Set(float degrees);
    float Get() const { return _degrees; }
    float operator+=(float degrees) { return Set(_degrees + degrees); }
    float Radians() const;

private:
    float _degrees = 0;
};
