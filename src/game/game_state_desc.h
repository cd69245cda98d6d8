#pragma once
// The game scene's own values in a saved-game text ("//Suspended/GameState").
#include <cstdint>
#include <vector>

struct GameStateDesc {
    int32_t episode = 0;
    int32_t level = 0;
    int32_t lives = 0;
    int32_t score = 0;
};

namespace PARSERS {
// False for an empty text, a text that does not parse, or one without
// "//Suspended/GameState"; missing attributes read 0. A score or a number of
// lives outside 0 to its limit (level_limits.h) is logged and held to it.
bool ParseGameState(const std::vector<uint8_t>& data, GameStateDesc& desc);
}  // namespace PARSERS
