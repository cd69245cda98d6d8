#pragma once
// What the game scene leaves for the front end when it hands over: the score
// at its last advance or leave, and whether the last episode was won. The
// application clears both when it starts.
#include <cstdint>

extern int32_t g_LastGameScore;
extern uint8_t g_GameCompleted;
