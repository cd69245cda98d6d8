#pragma once
// Which game the "Game" scene starts next: written by the menu, the selector and
// the command line, consumed by the game scene when it starts.
#include <cstdint>

struct GameStartRequest {
    static constexpr int32_t kNoEpisode = -999;

    int32_t level = 0;                // level index within the episode
    int32_t episode = kNoEpisode;     // episode index; kNoEpisode means none
    int32_t mode = 0;                 // 0 new game, 1 resume in "Game", 2 resume through "Selector"
    uint8_t start_flag = 0;           // set when switching to "Selector" or "Game", cleared by the game
    int32_t episode_count = 0;        // episodes of "Levels\Episodes.xml"
};

extern GameStartRequest g_GameStartRequest;
