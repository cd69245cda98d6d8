#pragma once
// The program's entry: the start-up of frontend/start_up.h with the program's
// own steps (the user folder, the lock file, the engine core, the profile
// store, the game's loop and the statistics page of the data tree).
#include "frontend/start_up.h"

// argv[1..3] are the start position ("%d %d %d"), read when the "keys" setting is on.
int WinMain(int argc, char** argv);
