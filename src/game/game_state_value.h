#pragma once
// The values the panel's indicators show, by source id ("VAL_SCORE",
// "VAL_LIVES", "VAL_LEVEL", "VAL_EPISODE", "VAL_EPISODE_NAME", "VAL_CUSTOM").
#include <cstdint>
#include <string>
#include <variant>

class IGameStateSource;

using GameStateValue = std::variant<int32_t, float, std::string>;

// The present value. An unknown id is logged and gives int 0, as does any
// id while there is no source.
GameStateValue GetGameStateValue(const IGameStateSource* source, const std::string& src_id);
// The bounds of a value: only "VAL_LIVES" has them (0 to 3); any other id
// logs that its bound is not supported and gives int 0.
GameStateValue GetGameStateMaxValue(const std::string& src_id);
GameStateValue GetGameStateMinValue(const std::string& src_id);

// Whether GetGameStateValue knows the id, and whether it has bounds; callers
// that ask every frame use these to report a bad id once.
bool IsKnownGameState(const std::string& src_id);
bool HasGameStateBounds(const std::string& src_id);
