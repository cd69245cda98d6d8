#include "game/pause_dialog.h"

#include "engine/sound_keeper_interface.h"
#include "game/dialog_controls.h"
#include "game/game_services.h"
#include "gui/menu_track_bar.h"
#include "platform/virtual_keys.h"
#include "profiles/game_settings.h"

namespace {

int Position(const CMenuTrackBar* bar) { return bar ? bar->GetPosition() : 0; }

}  // namespace

CMenuTrackBar* CPauseDialog::SoundBar() const { return FindControlAs<CMenuTrackBar>(*this, "ID_SOUND"); }

CMenuTrackBar* CPauseDialog::MusicBar() const { return FindControlAs<CMenuTrackBar>(*this, "ID_MUSIC"); }

void CPauseDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    int result = 0;
    if (id == "ID_MENU")
        result = kMenu;
    else if (id == "ID_GAME")
        result = kResume;
    else if (id == "ID_HELP")
        result = kHelp;
    if (result == 0) return;
    SetResult(result);
    SaveVolumes();
}

void CPauseDialog::OnKeyDown(int key) {
    CBaseDialog::OnKeyDown(key);
    if (key != plat::VK_ESCAPE) return;
    SetResult(kResume);
    SaveVolumes();
}

bool CPauseDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    SyncVolumeControls();
    return loaded;
}

void CPauseDialog::Activate() {
    CBaseDialog::Activate();
    SyncVolumeControls();
}

void CPauseDialog::OnValueChanged(CBaseControl* /*control*/) { ApplyVolumes(); }

void CPauseDialog::SyncVolumeControls() {
    GameOptions options;
    if (!CGameSettings::Instance().LoadSettings(options)) return;
    // Filling the bars reports their changes, which must not reach the sound
    // keeper half done.
    _volume_controls_ready = 0;
    if (CMenuTrackBar* sound = SoundBar()) sound->SetPosition(options.snd_vol);
    if (CMenuTrackBar* music = MusicBar()) music->SetPosition(options.mus_vol);
    _volume_controls_ready = 1;
    ApplyVolumes();
}

void CPauseDialog::ApplyVolumes() {
    if (!_volume_controls_ready) return;
    const int sound = Position(SoundBar());
    const int music = Position(MusicBar());
    if (ISoundKeeper* keeper = game::SoundKeeper()) keeper->SetVolumes(music, sound);
}

void CPauseDialog::SaveVolumes() {
    if (!_volume_controls_ready) return;
    const int sound = Position(SoundBar());
    const int music = Position(MusicBar());
    CGameSettings& settings = CGameSettings::Instance();
    GameOptions options;
    if (!settings.LoadSettings(options)) return;
    options.snd_vol = sound;
    options.mus_vol = music;
    settings.SaveSettings(options);
}
