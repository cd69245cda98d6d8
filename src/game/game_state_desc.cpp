#include "game/game_state_desc.h"

#include <algorithm>
#include <exception>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/level_limits.h"

namespace {

// The score and the lives go on growing in play: a saved one is held to
// 0..max, far enough below the integer limit for them to grow safely.
int32_t CheckedValue(const char* name, int32_t value, int32_t max) {
    if (level_limits::InRange(value, 0, max)) return value;
    const int32_t used = std::clamp(value, 0, max);
    CLogger::Instance().Log(2, "Error: the saved game's %s %d is not 0 to %d; %d is used.", name, value, max, used);
    return used;
}

}  // namespace

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
    desc.score = CheckedValue("score", node.GetAttributeInt("score", 0), level_limits::kMaxSavedScore);
    desc.lives = CheckedValue("lives", node.GetAttributeInt("lives", 0), level_limits::kMaxSavedLives);
    return true;
}

}  // namespace PARSERS
