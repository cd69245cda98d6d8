#include "field/countdown.h"

bool ClampFloat(float& value, float min, float max) {
    if (value < min) {
        value = min;
        return true;
    }
    if (value > max) {
        value = max;
        return true;
    }
    return false;
}
