#include "engine/graphics_desc.h"

#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_node.h"

CGraphicsDesc ParseGraphics(const CXMLNode& node) {
    CGraphicsDesc graph;
    CXMLNode block = node.SelectSingleNode("graphics");
    graph.texture = block.GetAttribute("texture", "");
    graph.width = block.GetAttributeInt("width", 0);
    graph.height = block.GetAttributeInt("height", 0);
    graph.color = StrToColor(block.GetAttribute("color", "FFFFFFFF"));
    ASSERT(graph.width >= 0);
    ASSERT(graph.height >= 0);
    graph.tex_rect = StrToRect(block.GetAttribute("tex_rect", "0 0 0 0"));
    CXMLNode animation = block.SelectSingleNode("animation");
    if (animation.IsValid()) {
        graph.animation_file = animation.GetAttribute("file", "");
        graph.frames = animation.GetAttributeInt("frames", 0);
        graph.speed = animation.GetAttributeInt("speed", 0);
    }
    return graph;
}
