#include "game/bird_placements.h"

#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/string_to_point.h"

std::vector<BirdPlacement> ReadBirdPlacements(const CXMLNode& node) {
    const CXMLNodeList birds = node.SelectNodes("Birds/Bird");
    std::vector<BirdPlacement> placements;
    placements.reserve(static_cast<size_t>(birds.GetLength()));
    for (int i = 0; i < birds.GetLength(); ++i) {
        const CXMLNode bird = birds.GetItem(i);
        BirdPlacement placement;
        placement.pos = StringToPoint(bird.GetAttribute("pos", ""));
        placement.state = bird.GetAttributeInt("state", 0);
        placements.push_back(placement);
    }
    return placements;
}
