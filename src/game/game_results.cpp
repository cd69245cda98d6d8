#include "game/game_results.h"

int32_t g_LastGameScore = 0;
uint8_t g_GameCompleted = 0;
