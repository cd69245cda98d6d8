#pragma once
// What the player settings need of the display and the font keeper.
#include "profiles/settings_host.h"

class CSettingsHost : public ISettingsHost {
public:
    bool IsFullscreen() const override;
    void SelectLanguage(int32_t index) override;
    int32_t FindLanguageById(int32_t id) const override;
};
