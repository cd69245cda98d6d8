#pragma once
// The figures of a won level: the field gives score, time and its last word,
// the game scene adds the rest; the statistics dialog shows them.
#include <cstdint>
#include <string>

struct LevelStatistics {
    int32_t episode = 0;      // 0-based
    int32_t level = 0;        // 0-based
    int32_t score = 0;        // points of this level
    int32_t time = 0;         // ms on the level timer
    int32_t ace_time = 0;     // ms
    int32_t time_bonus = 0;   // points, 0 when none
    int32_t best_time = 0;    // ms
    std::string best_player;  // who holds the best time
    uint32_t last_word = 0;   // carried unchanged from the field
};
