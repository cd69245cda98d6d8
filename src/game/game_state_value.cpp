#include "game/game_state_value.h"

#include "engine/logger.h"
#include "game/game_state_source.h"

namespace {
constexpr int32_t kLivesMax = 3;
}

GameStateValue GetGameStateValue(const IGameStateSource* source, const std::string& src_id) {
    if (src_id == "VAL_CUSTOM") return int32_t {0};
    if (src_id == "VAL_EPISODE_NAME") return source ? source->GetEpisodeName() : std::string();
    if (!IsKnownGameState(src_id)) {
        CLogger::Instance().Log(3, "Warning: Unknown game state '%s' requested!", src_id.c_str());
        return int32_t {0};
    }
    if (!source) return int32_t {0};
    if (src_id == "VAL_LEVEL") return source->GetLevelIndex() + 1;
    if (src_id == "VAL_EPISODE") return source->GetEpisodeIndex() + 1;
    if (src_id == "VAL_SCORE") return source->GetScore();
    return source->GetLives();
}

bool IsKnownGameState(const std::string& src_id) {
    return src_id == "VAL_CUSTOM" || src_id == "VAL_EPISODE_NAME" || src_id == "VAL_LEVEL" ||
           src_id == "VAL_EPISODE" || src_id == "VAL_SCORE" || src_id == "VAL_LIVES";
}

bool HasGameStateBounds(const std::string& src_id) { return src_id == "VAL_LIVES"; }

GameStateValue GetGameStateMaxValue(const std::string& src_id) {
    if (HasGameStateBounds(src_id)) return kLivesMax;
    CLogger::Instance().Log(3, "Warning: Max Value for indicator '%s' is not supported!", src_id.c_str());
    return int32_t {0};
}

GameStateValue GetGameStateMinValue(const std::string& src_id) {
    if (HasGameStateBounds(src_id)) return int32_t {0};
    CLogger::Instance().Log(3, "Warning: Min Value for indicator '%s' is not supported!", src_id.c_str());
    return int32_t {0};
}
