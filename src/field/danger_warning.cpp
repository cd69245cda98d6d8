#include "field/danger_warning.h"

#include <array>

#include "engine/sound_keeper_interface.h"
#include "field/field_services.h"
#include "field/game_scene_link.h"

namespace {

// Ticks between warnings, by danger level.
constexpr std::array<int, 4> kPeriods {40, 60, 90, 120};

}  // namespace

void CDangerWarning::Update(int level) {
    if (!_active) {
        if (level < 0 || level >= static_cast<int>(kPeriods.size())) return;
        Warn();
        _countdown = kPeriods[static_cast<size_t>(level)];
        _active = true;
        return;
    }
    if (--_countdown >= 1) return;
    Warn();
    _active = false;
}

void CDangerWarning::Warn() {
    if (ISoundKeeper* keeper = field::SoundKeeper()) keeper->PlaySample("warning");
    if (IGameSceneLink* scene = GetGameSceneLink()) scene->ShowDanger();
}
