#pragma once
// The program's entry: prepares the user folder, makes sure one instance runs,
// reads the settings, starts the engine core and the profile store, and runs
// the main loop until the program ends.

// argv[1..3] are the start position ("%d %d %d"), read when the "keys" setting is on.
int WinMain(int argc, char** argv);
