#pragma once
// The sound keeper as the game scene's helpers reach it: null while there is
// no engine core, so the helpers can be built and stepped without one.
class ISoundKeeper;

namespace game {

ISoundKeeper* SoundKeeper();

}  // namespace game
