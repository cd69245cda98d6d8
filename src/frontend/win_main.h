#pragma once
// The program's entry: prepares the user folder, makes sure one instance runs,
// reads the settings, starts the engine core and the profile store, and runs
// the main loop until the program ends.

// Exit codes of the program.
constexpr int kExitOk = 0;             // also when another copy runs already
constexpr int kExitStartFailed = 1;    // a start-up step failed (logged)
constexpr int kExitUserFolder = 2;     // the per-user folder cannot be created or written
constexpr int kExitLockFile = 3;       // the single-instance lock file cannot be opened

// argv[1..3] are the start position ("%d %d %d"), read when the "keys" setting is on.
int WinMain(int argc, char** argv);
