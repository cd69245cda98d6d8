#include "game/game_services.h"

#include "engine/engine_core_interface.h"

namespace game {

ISoundKeeper* SoundKeeper() { return g_EngineCore ? g_EngineCore->GetSoundKeeper() : nullptr; }

}  // namespace game
