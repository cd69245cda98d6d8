// TEMPORARY until the program's generator is merged.
#include "graphics/plume_random.h"
#include <cstdint>
static uint32_t g_state = 1;
int PlumeRand() { g_state = g_state * 214013u + 2531011u; return static_cast<int>((g_state >> 16) & 0x7FFF); }
void PlumeSrand(unsigned seed) { g_state = seed; }
