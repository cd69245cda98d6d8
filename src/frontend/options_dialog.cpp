#include "frontend/options_dialog.h"

#include <exception>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/sound_keeper_interface.h"
#include "graphics/font_keeper.h"
#include "graphics/static_text.h"
#include "gui/base_control.h"
#include "gui/menu_check_box.h"
#include "gui/menu_track_bar.h"
#include "platform/virtual_keys.h"
#include "profiles/difficulty_table.h"

namespace {

constexpr int kMaxGamma = 10;
constexpr int kMaxController = 2;

bool IsFullscreen() { return g_EngineCore && g_EngineCore->IsFullscreen(); }

}  // namespace

bool COptionsDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    Refresh();
    return loaded;
}

void COptionsDialog::Activate() {
    CBaseDialog::Activate();
    Refresh();
}

CMenuTrackBar* COptionsDialog::TrackBar(const std::string& id, bool optional) const {
    if (optional && !HasControl(id)) return nullptr;
    return dynamic_cast<CMenuTrackBar*>(FindControl(id));
}

CMenuCheckBox* COptionsDialog::WindowedBox() const { return dynamic_cast<CMenuCheckBox*>(FindControl("ID_WINDOWED")); }

int32_t COptionsDialog::Value(const std::string& id, bool optional) const {
    const CMenuTrackBar* bar = TrackBar(id, optional);
    return bar ? bar->GetPosition() : 0;
}

bool COptionsDialog::LoadSettings(GameOptions& options) {
    try {
        return CGameSettings::Instance().LoadSettings(options);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: the options cannot read the settings (%s)!", e.what());
        return false;
    }
}

void COptionsDialog::Refresh() {
    GameOptions options;
    if (!LoadSettings(options)) return;
    _options = options;
    // Filling the bars reports their changes, which must not apply half-filled values.
    _loaded = 0;
    if (CMenuTrackBar* bar = TrackBar("ID_SOUND", false)) bar->SetPosition(_options.snd_vol);
    if (CMenuTrackBar* bar = TrackBar("ID_MUSIC", false)) bar->SetPosition(_options.mus_vol);
    if (CMenuTrackBar* bar = TrackBar("ID_GAMMA", false)) {
        bar->SetMax(kMaxGamma);
        bar->SetPosition(_options.gamma);
    }
    if (CMenuTrackBar* bar = TrackBar("ID_DIFF", true)) {
        bar->ClearCaptions();
        const size_t levels = g_DifficultyTable ? g_DifficultyTable->GetCount() : 0;
        for (size_t i = 0; i < levels; ++i) bar->AddCaption(g_DifficultyTable->GetLevel(i).name);
        bar->SetMax(static_cast<int>(levels) - 1);
        bar->SetPosition(_options.difficulty);
    }
    if (CMenuTrackBar* bar = TrackBar("ID_CONTROLLER", true)) {
        bar->SetMax(kMaxController);
        bar->SetPosition(_options.controller);
    }
    if (CMenuTrackBar* bar = TrackBar("ID_LANG", true)) {
        CFontKeeper& fonts = CFontKeeper::Instance();
        const int count = fonts.GetLanguageCount();
        bar->ClearCaptions();
        for (int i = 0; i < count; ++i) bar->AddCaption(fonts.GetLanguageName(i));
        bar->SetMax(count - 1);
        // The bar names the language on screen: one chosen here and left with
        // Esc stays in effect, unsaved, and "ID_BACK" saves what the bar shows.
        const int shown = fonts.GetSelectedLanguage();
        bar->SetPosition(shown >= 0 ? shown : _options.language);
    }
    if (CMenuCheckBox* box = WindowedBox()) box->SetChecked(_options.windowed);
    _seen_fullscreen = IsFullscreen();
    _loaded = 1;
    ApplyLive();
}

void COptionsDialog::SelectLanguage(int32_t index) const {
    CFontKeeper& fonts = CFontKeeper::Instance();
    if (fonts.GetSelectedLanguage() == index) return;
    fonts.SelectLanguage(index);
    // Every text on screen lays itself out again in the new language.
    CStaticText::InvalidateAll();
}

void COptionsDialog::ApplyLive() {
    if (!_loaded) return;
    _options.snd_vol = Value("ID_SOUND", false);
    _options.mus_vol = Value("ID_MUSIC", false);
    _options.gamma = Value("ID_GAMMA", false);
    if (HasControl("ID_LANG")) {
        const int32_t language = Value("ID_LANG", true);
        if (language != _options.language) {
            _options.language = language;
            SelectLanguage(language);
        }
    }
    if (!g_EngineCore) return;
    if (ISoundKeeper* sounds = g_EngineCore->GetSoundKeeper()) sounds->SetVolumes(_options.mus_vol, _options.snd_vol);
    g_EngineCore->SetGamma(_options.gamma);
}

void COptionsDialog::ApplyAndSave() {
    if (!_loaded) return;
    _options.snd_vol = Value("ID_SOUND", false);
    _options.mus_vol = Value("ID_MUSIC", false);
    _options.gamma = Value("ID_GAMMA", false);
    // Without its bar on the panel a setting is written back as it was read.
    if (HasControl("ID_DIFF")) _options.difficulty = Value("ID_DIFF", true);
    if (HasControl("ID_CONTROLLER")) _options.controller = Value("ID_CONTROLLER", true);
    // Without the box the mode stays as it is.
    if (const CMenuCheckBox* box = WindowedBox()) _options.windowed = box->IsChecked();
    _options.language = Value("ID_LANG", true);
    CGameSettings::Instance().SaveSettings(_options);
    SelectLanguage(_options.language);
    if (g_EngineCore && _options.windowed == g_EngineCore->IsFullscreen() && !g_EngineCore->ToggleFullscreen())
        CLogger::Instance().Log(2, "Error: failed to toggle windowed/fullscreen!");
}

void COptionsDialog::OnClick(CBaseControl* control) {
    if (control->GetId() != "ID_BACK") return;
    ApplyAndSave();
    SetResult(kResultBack);
}

void COptionsDialog::OnValueChanged(CBaseControl* /*control*/) { ApplyLive(); }

void COptionsDialog::OnKeyDown(int key) {
    CBaseDialog::OnKeyDown(key);
    // Leaves what was applied live in effect, unsaved.
    if (key == plat::VK_ESCAPE) SetResult(kResultBack);
}

void COptionsDialog::Draw(bool skip_update) {
    CBaseDialog::Draw(skip_update);
    // The core toggles the mode once per Alt+Enter press, at the end of a
    // frame: the box follows each change of the mode it sees, and keeps what
    // the player ticked otherwise.
    const bool fullscreen = IsFullscreen();
    if (fullscreen == _seen_fullscreen) return;
    _seen_fullscreen = fullscreen;
    if (CMenuCheckBox* box = HasControl("ID_WINDOWED") ? WindowedBox() : nullptr) box->SetChecked(!fullscreen);
}
