#pragma once
// The field's process-wide objects, built by one start-up call in a fixed
// order once the engine core and its sound keeper exist (the graph bases
// preload the samples their states name), and freed in reverse at exit:
//   the ball tables (g_BallSubstrates, g_BallLockGraphics, g_BallLockKeeper:
//   empty, filled by the balls), g_AnimationCache, g_BallsGraphBase (Settings\Bases\Balls.XML),
//   g_TilesGraphBase (Settings\Bases\Tiles.XML), g_GameCFG (loaded from
//   Settings\GameCFG.xml; the panel slides read their speed from it),
//   g_LevelCFG.

// Builds them all. A base or configuration file that is missing, broken or
// empty is logged with its name; everything built so far is freed again and
// the answer is false (the program cannot start).
bool InitFieldGlobals();
// Frees them in reverse order; harmless when nothing is built.
void ShutdownFieldGlobals();

// The bonus configuration file (in Settings\).
extern const char* const kBonusFileName;
// The file names of the two graph bases.
extern const char* const kBallsGraphBaseFile;
extern const char* const kTilesGraphBaseFile;
