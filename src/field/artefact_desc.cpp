#include "field/artefact_desc.h"

#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/string_to_point.h"

namespace {

CVector2 Point(const CXMLNode& node, const char* name) { return StringToPoint(node.GetAttribute(name, "")); }

ArtefactPicture ParsePicture(const CXMLNode& node) {
    ArtefactPicture picture;
    picture.graphics = ParseGraphics(node);
    picture.offset = Point(node, "offset");
    return picture;
}

ArtefactBlinkDesc ParseBlink(const CXMLNode& node) {
    ArtefactBlinkDesc blink;
    blink.picture = ParsePicture(node);
    blink.num_blink = node.GetAttributeInt("num_blink", 0);
    blink.speed = node.GetAttributeFloat("speed", 0);
    blink.sound = node.GetAttribute("sound", "");
    return blink;
}

}  // namespace

ArtefactDesc ParseArtefactDesc(const CXMLNode& node) {
    ArtefactDesc desc;
    desc.pos = Point(node, "pos");
    desc.page = node.GetAttributeInt("page", 0);
    desc.sound_show = node.GetAttribute("sound_show", "");
    desc.sound_hide = node.GetAttribute("sound_hide", "");

    const CXMLNode matrix = node.SelectSingleNode("MatrixControl");
    desc.slide_begin = Point(matrix, "begin");
    desc.slide_end = Point(matrix, "end");
    desc.slide_offset = Point(matrix, "offset");
    desc.slide_speed = matrix.GetAttributeFloat("speed", 0);

    desc.background = ParsePicture(node.SelectSingleNode("Background"));
    desc.base_grey = ParsePicture(node.SelectSingleNode("BaseGrey"));
    const CXMLNode color = node.SelectSingleNode("BaseColor");
    desc.base_color = ParsePicture(color);
    desc.expl_offset = Point(color, "expl_offset");
    desc.color_explosion = color.GetAttribute("explosion", "");
    desc.color_sound = color.GetAttribute("sound", "");

    const CXMLNode ico = node.SelectSingleNode("Ico");
    desc.ico = ParseGraphics(ico);
    desc.ico_pos = Point(ico, "pos");
    desc.blinking = ParseBlink(node.SelectSingleNode("Blinking"));
    desc.glow = ParseBlink(node.SelectSingleNode("Glow"));

    const CXMLNode fragment = node.SelectSingleNode("Fragment");
    desc.fragment = ParseGraphics(fragment);
    desc.fragment_graph_type = fragment.GetAttributeInt("graph_type", 0);
    desc.fragment_plume = fragment.GetAttribute("plume", "");

    const CXMLNodeList cells = node.SelectNodes("Cells/Cell");
    desc.cells.reserve(static_cast<size_t>(cells.GetLength()));
    for (int i = 0; i < cells.GetLength(); ++i) {
        const CXMLNode cell_node = cells.GetItem(i);
        ArtefactCellDesc cell;
        cell.offset = Point(cell_node, "offset");
        cell.explosion = cell_node.GetAttribute("explosion", "");
        cell.graphics = cell_node.SelectSingleNode("graphics").IsValid() ? ParseGraphics(cell_node) : desc.fragment;
        desc.cells.push_back(std::move(cell));
    }
    return desc;
}
