#pragma once
// The look of a label: quad height, spacing after each glyph, colour and an
// optional drop shadow.
#include <cstdint>

#include "engine/vector2.h"

struct TextStyle {
    float height = 12.0f;
    int spacing = 3;
    uint32_t color = 0xFFFFFFFF;
    uint8_t shadow = 0;
    uint32_t shadow_color = 0xFFFFFFFF;
    CVector2 shadow_offset {1.0f, 1.0f};
};
