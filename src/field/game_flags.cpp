#include "field/game_flags.h"

void CGameFlags::Init() { Add(gfBeginEpisode, 2); }
