#include "field/field_services.h"

#include "engine/engine_core_interface.h"

namespace field {

ISoundKeeper* SoundKeeper() { return g_EngineCore ? g_EngineCore->GetSoundKeeper() : nullptr; }

}  // namespace field
