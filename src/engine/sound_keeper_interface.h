#pragma once
// The sound keeper's interface lives with the keeper.
#include "engine/sound_keeper.h"
