#pragma once
// The one-dimensional motion of a ball on its way between two cells: a speed
// in pixels per update tick, changed by an acceleration each tick and kept
// between a minimum and a maximum.
class CBallPhysics {
public:
    virtual ~CBallPhysics() = default;

    // speed += acceleration, then clamped into [minimum, maximum]; true when
    // the clamp changed it.
    virtual bool Step();

    float GetSpeed() const { return _speed; }
    void SetSpeed(float speed) { _speed = speed; }
    float GetMinSpeed() const { return _min_speed; }
    float GetMaxSpeed() const { return _max_speed; }
    void SetSpeedBounds(float min_speed, float max_speed) {
        _min_speed = min_speed;
        _max_speed = max_speed;
    }
    float GetAcceleration() const { return _acceleration; }
    void SetAcceleration(float acceleration) { _acceleration = acceleration; }

private:
    float _speed = 0;
    float _min_speed = 0;
    float _max_speed = 0;
    float _acceleration = 0;
};
