#pragma once
// The pause dialog: back to the game ("ID_GAME", Esc: 2), help ("ID_HELP": 4)
// or to the menu ("ID_MENU": 5), each answer saving the volumes; and two
// track bars, "ID_SOUND" and "ID_MUSIC", that change the sound keeper's
// volumes while they move. Every showing fills them from the saved settings.
#include <cstdint>

#include "gui/base_dialog.h"

class CMenuTrackBar;

class CPauseDialog : public CBaseDialog {
public:
    static constexpr int kResume = 2;
    static constexpr int kHelp = 4;
    static constexpr int kMenu = 5;

    void OnClick(CBaseControl* control) override;
    void OnKeyDown(int key) override;
    bool Load(const CXMLNode& node) override;
    void Activate() override;
    void OnValueChanged(CBaseControl* control) override;

    // The track bars from the settings, then the volumes from the track bars.
    void SyncVolumeControls();
    // The sound keeper's volumes from the track bars (once they were filled).
    void ApplyVolumes();
    // The track bars into the settings file (once they were filled).
    void SaveVolumes();

    bool AreVolumeControlsReady() const { return _volume_controls_ready != 0; }

private:
    CMenuTrackBar* SoundBar() const;
    CMenuTrackBar* MusicBar() const;

    uint8_t _volume_controls_ready = 0;
};
