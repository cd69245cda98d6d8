#pragma once
// What a level's (or a menu's) decorative background is made of: layers of
// tiles that refer by group and id to objects of Settings\TileBase.xml. Read
// from a "Background" node by PARSERS::ParseBackground.
#include <cstdint>
#include <vector>

#include "engine/float_rect.h"

class CXMLNode;

struct CBackgroundTileDesc {
    // Markers of "keep the catalogue object's value".
    static constexpr int32_t kKeepSize = -999;
    static constexpr float kKeepAngle = -999.0f;
    static constexpr uint32_t kKeepColor = static_cast<uint32_t>(-999);

    int32_t group_id = 0;
    int32_t id = 0;
    int32_t pos_x = 0;
    int32_t pos_y = 0;
    int32_t activates_at = 0;  // frame number
    int32_t cycles = 9999;
    int32_t width = kKeepSize;
    int32_t height = kKeepSize;
    uint8_t flip_x = 0;
    uint8_t flip_y = 0;
    float angle = kKeepAngle;
    float rotate_speed = 0;  // degrees per update
    uint32_t color = kKeepColor;
    float alpha_min = 255;
    float alpha_max = 255;
    float alpha_speed = 0;
};

struct CBackgroundLayerDesc {
    std::vector<CBackgroundTileDesc> tiles;
    uint32_t horizontal = 0;  // 1: scrolls leftward, 0: downward
    uint8_t is_static = 0;
    float speed = 0;  // pixels per update
};

struct CBackgroundDesc {
    static constexpr int32_t kNoTopLayer = -999;

    std::vector<CBackgroundLayerDesc> layers;
    // Layers below this index are drawn under the scene, the rest over it.
    int32_t top_layer = kNoTopLayer;
    CFloatRect bounds_rect;  // where the tiles travel
};

namespace PARSERS {
// Fills `desc` from the node (replacing its layers). Tiles whose whole run is over
// before the debug start frame are left out. Layers and tiles beyond the
// limits of level_limits.h, a speed that is not finite and a size no integer
// holds are logged (the extra ones left out, the speed 0, the object's own
// size). Always true.
bool ParseBackground(const CXMLNode& node, CBackgroundDesc& desc);
}  // namespace PARSERS
