#include "field/ball_physics.h"

#include "field/countdown.h"

bool CBallPhysics::Step() {
    _speed += _acceleration;
    return ClampFloat(_speed, _min_speed, _max_speed);
}
