#include "profiles/game_start_request.h"

GameStartRequest g_GameStartRequest;
