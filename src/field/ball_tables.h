#pragma once
// The tables every ball shares, field globals built empty at the field's
// start-up (field_globals.h) and filled by their users:
//  - g_BallSubstrates: the substrate kinds, from "//Bonuses/Substrates/Substrate"
//    of Settings\Bonus.xml, read again at every level preparation;
//  - g_BallLockGraphics: one picture per lock solidity from 0 upward, from
//    "//BallLock/Solidity" of Settings\GameCFG.xml, read at the first lock;
//  - g_BallLockKeeper: the batches through which every lock sprite is drawn,
//    once per frame for all balls.
#include <vector>

#include "engine/graphics_desc.h"
#include "field/field_global.h"
#include "field/substrate_desc.h"
#include "graphics/renderer_keeper.h"

extern CFieldGlobal<std::vector<SubstrateDesc>> g_BallSubstrates;
extern CFieldGlobal<std::vector<CGraphicsDesc>> g_BallLockGraphics;
extern CFieldGlobal<CRendererKeeper> g_BallLockKeeper;

// The files the tables come from.
extern const char* const kBallSubstratesFile;
extern const char* const kBallLockFile;

// Empties the substrate table and reads it again. A file that cannot be read
// is logged and leaves the table empty.
void LoadBallSubstrates();
// Empties the lock table and reads it again; a table still empty afterwards
// (a missing file or no "BallLock" entries) logs the failed check and throws
// "Assertion failed".
void LoadBallLockSolidity();

// The first substrate of that id, or null.
const SubstrateDesc* FindBallSubstrate(int id);
