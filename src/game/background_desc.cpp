#include "game/background_desc.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/engine_core_interface.h"
#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/level_limits.h"
#include "profiles/app_params.h"

namespace {

int ScreenWidth() { return g_EngineCore ? g_EngineCore->GetScreenWidth() : 800; }
int ScreenHeight() { return g_EngineCore ? g_EngineCore->GetScreenHeight() : 600; }

// A tile's size, written as a number of pixels; one that no integer holds
// (not finite, or beyond the screen many times over) keeps the object's own.
int32_t ReadSize(const CXMLNode& node, const char* name) {
    constexpr float kLargest = 1 << 20;
    const float size = node.GetAttributeFloat(name, CBackgroundTileDesc::kKeepSize);
    if (std::isfinite(size) && std::fabs(size) <= kLargest) return static_cast<int32_t>(size);
    CLogger::Instance().Log(2, "Error: a background tile's %s %g is no size; the object's own is used.", name,
                            static_cast<double>(size));
    return CBackgroundTileDesc::kKeepSize;
}

// A layer's scrolling speed; one that is not finite would put every tile
// nowhere, so the layer stands still.
float ReadLayerSpeed(const CXMLNode& node) {
    const float speed = node.GetAttributeFloat("speed", 0.0f);
    if (level_limits::IsFiniteSpeed(speed)) return speed;
    CLogger::Instance().Log(2, "Error: a background layer's speed %g is not finite; the layer stands still.",
                            static_cast<double>(speed));
    return 0.0f;
}

CBackgroundTileDesc ParseTile(const CXMLNode& node) {
    CBackgroundTileDesc t;
    t.group_id = node.GetAttributeInt("group_id", 0);
    t.id = node.GetAttributeInt("id", 0);
    t.activates_at = node.GetAttributeInt("activates_at", 0);
    t.pos_x = node.GetAttributeInt("pos_x", 0);
    t.pos_y = node.GetAttributeInt("pos_y", 0);
    t.cycles = node.GetAttributeInt("cycles", 9999);
    t.angle = node.GetAttributeFloat("angle", CBackgroundTileDesc::kKeepAngle);
    t.rotate_speed = static_cast<float>(node.GetAttributeInt("rotate_speed", 0));
    t.width = ReadSize(node, "width");
    t.height = ReadSize(node, "height");
    t.flip_x = node.GetAttributeBool("flip_x", false) ? 1 : 0;
    t.flip_y = node.GetAttributeBool("flip_y", false) ? 1 : 0;
    const std::string color = node.GetAttribute("color", "");
    t.color = color.empty() ? CBackgroundTileDesc::kKeepColor : StrToColor(color);
    t.alpha_min = static_cast<float>(node.GetAttributeInt("alpha_min", 255));
    t.alpha_max = static_cast<float>(node.GetAttributeInt("alpha_max", 255));
    t.alpha_speed = static_cast<float>(node.GetAttributeInt("alpha_speed", 0));
    return t;
}

// A tile stays unless its whole run ends before the debug start frame.
bool RunsAfter(const CBackgroundTileDesc& t, float speed, int start_frame) {
    const float screen_h = static_cast<float>(ScreenHeight());
    const float v = speed == 0.0f ? 1.0f : speed;
    return static_cast<float>(start_frame) - (screen_h + 100.0f) / v <=
           (static_cast<float>(t.cycles) - 1.0f) * screen_h + static_cast<float>(t.activates_at);
}

}  // namespace

namespace PARSERS {

bool ParseBackground(const CXMLNode& node, CBackgroundDesc& desc) {
    desc.layers.clear();
    desc.top_layer = node.GetAttributeInt("top_layer", CBackgroundDesc::kNoTopLayer);
    const std::string default_bounds = "0 0 " + std::to_string(ScreenWidth()) + " " + std::to_string(ScreenHeight());
    desc.bounds_rect = StrToRect(node.GetAttribute("bounds_rect", default_bounds));
    // The debug start frame: the command line's third number (read only with the "keys" setting on).
    const int start_frame = g_AppParams.keys ? g_AppParams.third_number : 0;

    // Every layer and tile is drawn and moved in every frame: a background
    // keeps at most the first kMaxBackgroundLayers layers and
    // kMaxBackgroundTiles tiles.
    const CXMLNodeList layers = node.SelectNodes("Layer");
    const int layer_count = std::min(layers.GetLength(), level_limits::kMaxBackgroundLayers);
    if (layers.GetLength() > layer_count)
        CLogger::Instance().Log(2, "Error: the background has %d layers; the first %d are kept.", layers.GetLength(),
                                layer_count);
    int room = level_limits::kMaxBackgroundTiles;
    int left_out = 0;
    for (int i = 0; i < layer_count; ++i) {
        const CXMLNode layer_node = layers.GetItem(i);
        CBackgroundLayerDesc layer;
        layer.speed = ReadLayerSpeed(layer_node);
        layer.is_static = layer_node.GetAttributeBool("is_static", false) ? 1 : 0;
        layer.horizontal = layer_node.GetAttributeBool("scroll_vertically", true) ? 0 : 1;
        const CXMLNodeList tiles = layer_node.SelectNodes("Tile");
        const int tile_count = std::min(tiles.GetLength(), room);
        left_out += tiles.GetLength() - tile_count;
        room -= tile_count;
        for (int k = 0; k < tile_count; ++k) {
            CBackgroundTileDesc tile = ParseTile(tiles.GetItem(k));
            if (RunsAfter(tile, layer.speed, start_frame)) layer.tiles.push_back(tile);
        }
        desc.layers.push_back(std::move(layer));
    }
    if (left_out > 0)
        CLogger::Instance().Log(2, "Error: the background has more than %d tiles; %d are left out.",
                                level_limits::kMaxBackgroundTiles, left_out);
    return true;
}

}  // namespace PARSERS
