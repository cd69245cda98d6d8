#pragma once
// The options panel: sound and music volume, gamma, difficulty, controller,
// language and window mode. Volumes, gamma and language take effect while the
// player moves the bars; "ID_BACK" saves everything to the player's settings
// (and switches the window mode), Esc leaves without saving.
#include <cstdint>
#include <string>

#include "gui/base_dialog.h"
#include "profiles/game_settings.h"

class CMenuCheckBox;
class CMenuTrackBar;

class COptionsDialog : public CBaseDialog {
public:
    static constexpr int kResultBack = 3;

    // Fills the controls from the saved settings.
    bool Load(const CXMLNode& node) override;
    void Activate() override;
    void OnClick(CBaseControl* control) override;
    void OnValueChanged(CBaseControl* control) override;
    void OnKeyDown(int key) override;
    // Keeps "ID_WINDOWED" in step with the window mode when it changes
    // elsewhere (Alt+Enter) while the panel is up.
    void Draw(bool skip_update) override;

    // The settings into the controls, then into effect (nothing when they cannot be read).
    void Refresh();
    // Volumes, gamma and language from the controls into effect; nothing saved.
    void ApplyLive();
    // Every control into the settings, saved; the language and window mode follow.
    void ApplyAndSave();

    bool IsLoaded() const { return _loaded != 0; }
    const GameOptions& GetOptions() const { return _options; }

private:
    // The player's settings; false (logged) when they cannot be read.
    static bool LoadSettings(GameOptions& options);
    CMenuTrackBar* TrackBar(const std::string& id, bool optional) const;
    CMenuCheckBox* WindowedBox() const;
    // The bar's value; 0 without the bar.
    int32_t Value(const std::string& id, bool optional) const;
    void SelectLanguage(int32_t index) const;

    uint8_t _loaded = 0;
    GameOptions _options;
    // The full-screen state the box last followed.
    bool _seen_fullscreen = false;
};
