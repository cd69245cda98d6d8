#pragma once
// One kind of substrate drawn under a ball: a sprite (tinted with the ball's
// substrate colour) or, when `plume` names an effect of the particle library,
// that running effect.
#include <string>

#include "engine/graphics_desc.h"

struct SubstrateDesc {
    int id = 0;
    CGraphicsDesc graphics;
    std::string plume;
};
