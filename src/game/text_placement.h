#pragma once
// A label alias with the screen position of the dialog label it was taken from.
#include <string>

#include "engine/vector2.h"

struct TextPlacement {
    std::string text;  // label alias
    CVector2 position;
};
