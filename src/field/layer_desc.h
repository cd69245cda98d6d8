#pragma once
// One sprite layer of a graph-type state: its picture and its offset from
// the object's position.
#include "engine/graphics_desc.h"
#include "engine/vector2.h"

struct CLayerDesc {
    CVector2 offset;
    CGraphicsDesc graphics;
};
