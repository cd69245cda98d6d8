#include "frontend/saved_options.h"

#include "engine/engine_core_interface.h"
#include "engine/sound_keeper_interface.h"

void ApplySavedOptions(IEngineCore& core, const GameOptions& options) {
    if (ISoundKeeper* sounds = core.GetSoundKeeper()) sounds->SetVolumes(options.mus_vol, options.snd_vol);
    core.SetGamma(options.gamma);
}
