#pragma once
// Built with the field, whose birds use it; kept reachable here for the game scene.
#include "field/singleton_samples.h"
