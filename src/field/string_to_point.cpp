#include "field/string_to_point.h"

#include <vector>

#include "engine/helpers.h"

CVector2 StringToPoint(std::string_view text) {
    std::vector<int> values;
    if (TokenizeInts(&values, text, " ,") < 2) return CVector2(0, 0);
    return CVector2(static_cast<float>(values[0]), static_cast<float>(values[1]));
}
