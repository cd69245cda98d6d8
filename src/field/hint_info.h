#pragma once
// What the field needs to know of a hint to say where it points: the hint's
// id, the bounds of its dialog and the anchor point of the dialog (both as the
// dialog was loaded) and whether the hint waits for the field's hint timer.
// The hints manager of the game scene fills it.
#include <cstdint>

#include "engine/float_rect.h"
#include "engine/vector2.h"

struct HintInfo {
    int32_t id = 0;
    CFloatRect bounds;   // all zero when the dialog has no anchor
    CVector2 anchor;     // middle of the anchor control's bottom edge; (0, 0) without one
    bool wait_time_out = false;
    // Where the hint's box must fit; all zero means the whole screen.
    CFloatRect area;
};
