#include "game/background_desc.h"

#include <string>

#include "engine/engine_core_interface.h"
#include "engine/helpers.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "profiles/app_params.h"

namespace {

int ScreenWidth() { return g_EngineCore ? g_EngineCore->GetScreenWidth() : 800; }
int ScreenHeight() { return g_EngineCore ? g_EngineCore->GetScreenHeight() : 600; }

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
    t.width = static_cast<int32_t>(node.GetAttributeFloat("width", CBackgroundTileDesc::kKeepSize));
    t.height = static_cast<int32_t>(node.GetAttributeFloat("height", CBackgroundTileDesc::kKeepSize));
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
           static_cast<float>(t.cycles - 1) * screen_h + static_cast<float>(t.activates_at);
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

    const CXMLNodeList layers = node.SelectNodes("Layer");
    for (int i = 0; i < layers.GetLength(); ++i) {
        const CXMLNode layer_node = layers.GetItem(i);
        CBackgroundLayerDesc layer;
        layer.speed = layer_node.GetAttributeFloat("speed", 0.0f);
        layer.is_static = layer_node.GetAttributeBool("is_static", false) ? 1 : 0;
        layer.horizontal = layer_node.GetAttributeBool("scroll_vertically", true) ? 0 : 1;
        const CXMLNodeList tiles = layer_node.SelectNodes("Tile");
        for (int k = 0; k < tiles.GetLength(); ++k) {
            CBackgroundTileDesc tile = ParseTile(tiles.GetItem(k));
            if (RunsAfter(tile, layer.speed, start_frame)) layer.tiles.push_back(tile);
        }
        desc.layers.push_back(std::move(layer));
    }
    return true;
}

}  // namespace PARSERS
