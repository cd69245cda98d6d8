#pragma once
// The player's settings: the attributes of "//Config/Options" in "Config.xml" in
// the per-user folder, with "ConfigDef.xml" of the program's folder as the
// defaults until the first save. Cached, so repeated reads do not touch the file.
#include <cstdint>

struct GameOptions {
    int32_t player = 0;
    int32_t snd_vol = 16;
    int32_t mus_vol = 16;
    int32_t gamma = 0;             // 0..10, clamped when read
    int32_t difficulty = 0;
    int32_t controller = 0;
    bool show_hints = false;
    bool show_debug_info = false;  // never saved
    bool use_dinput = false;       // never saved
    bool first_run = true;
    bool run_menu = true;          // never saved
    bool keys = false;             // never saved
    bool windowed = false;
    int32_t language = 0;
};

class CGameSettings {
public:
    static CGameSettings& Instance();

    CGameSettings() = default;
    CGameSettings(const CGameSettings&) = delete;
    CGameSettings& operator=(const CGameSettings&) = delete;

    // False (with "Error: unable to load game settings!") when the document has no
    // "//Config/Options"; a document that cannot be read throws.
    bool LoadSettings(GameOptions& out);
    // Writes the saved fields into the current document (the rest of it stays as
    // read, unless written back it would be too large to read again: then the
    // saved fields alone are written) and stores it as "Config.xml" in the
    // per-user folder.
    bool SaveSettings(const GameOptions& options);

    // Makes the next LoadSettings read the file again.
    void Invalidate() { _needs_load = 1; }

    static const char* UserFileName() { return "Config.xml"; }
    static const char* DefaultFileName() { return "ConfigDef.xml"; }

private:
    uint8_t _needs_load = 1;
    GameOptions _options;
};

// The engine core's window-mode callback: stores whether the display is windowed.
void OnWindowModeChanged();
// Selects the language in the font keeper and stores its index.
void SetLanguage(int32_t index);
// Selects the font keeper's language matching the user's default language.
void SelectDefaultLanguage();
// Primary language id (Windows numbering, low 10 bits) of the user's locale; 0x09
// (English) when the locale says nothing.
int32_t UserDefaultLanguageId();
