#pragma once
// What the settings helpers need of the display and of the font keeper, both of
// which live above this library: the start-up code registers an implementation.
#include <cstdint>

class ISettingsHost {
public:
    virtual ~ISettingsHost() = default;
    // True while the display is in full-screen mode.
    virtual bool IsFullscreen() const = 0;
    // Makes the language at that index of the font keeper the current one.
    virtual void SelectLanguage(int32_t index) = 0;
    // Index of the font keeper's language with that primary language id; -1 when none.
    virtual int32_t FindLanguageById(int32_t id) const = 0;
};

// Registers the host (null unregisters); the helpers log an error without one.
void SetSettingsHost(ISettingsHost* host);
ISettingsHost* GetSettingsHost();
