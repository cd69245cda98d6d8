#include "game/game_services.h"

#include "field/field_services.h"

namespace game {

ISoundKeeper* SoundKeeper() { return field::SoundKeeper(); }

}  // namespace game
