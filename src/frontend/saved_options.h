#pragma once
// The player's saved settings put into effect on the devices at start-up.
#include "profiles/game_settings.h"

class IEngineCore;

// The saved music and sound volumes go to the sound keeper, the gamma level
// to the display.
void ApplySavedOptions(IEngineCore& core, const GameOptions& options);
