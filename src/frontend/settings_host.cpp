#include "frontend/settings_host.h"

#include "engine/engine_core.h"
#include "graphics/font_keeper.h"
#include "graphics/static_text.h"

bool CSettingsHost::IsFullscreen() const { return g_EngineCore && g_EngineCore->IsFullscreen(); }

void CSettingsHost::SelectLanguage(int32_t index) {
    CFontKeeper::Instance().SelectLanguage(index);
    // Every live text lays itself out again in the new language.
    CStaticText::InvalidateAll();
}

int32_t CSettingsHost::FindLanguageById(int32_t id) const { return CFontKeeper::Instance().GetLanguageIndex(id); }
