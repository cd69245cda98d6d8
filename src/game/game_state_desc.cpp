#include "game/game_state_desc.h"

#include <exception>

#include "engine/xml_file.h"
#include "engine/xml_node.h"

namespace PARSERS {

bool ParseGameState(const std::vector<uint8_t>& data, GameStateDesc& desc) {
    if (data.empty() || data.front() == 0) return false;
    CXMLFile xml;
    try {
        if (!xml.Parse(data)) return false;
    } catch (const std::exception&) {
        return false;  // the XML layer has logged the parse error
    }
    const CXMLNode node = xml.SelectSingleNode("//Suspended/GameState");
    if (!node.IsValid()) return false;
    desc.episode = node.GetAttributeInt("episode", 0);
    desc.level = node.GetAttributeInt("level", 0);
    desc.score = node.GetAttributeInt("score", 0);
    desc.lives = node.GetAttributeInt("lives", 0);
    return true;
}

}  // namespace PARSERS
