#pragma once
#include <string>

// The polled keyboard, by Windows virtual-key code (0..255, see
// platform/virtual_keys.h). Key states follow the four input states.
class IKeyboardController {
public:
    // The instantaneous state (down now).
    virtual bool IsKeyDown(int key) = 0;
    // Pressed since the previous query of that key.
    virtual bool WasKeyPressed(int key) = 0;
    // True when some key went down at this poll; `key` (may be null) gets the highest such code.
    virtual bool GetPressedKey(int* key) const = 0;
    // The highest printable key that went down at this poll, with modifiers:
    // 1 right Shift, 2 left Shift, 8 either Control, 4 either Alt (held since an earlier poll).
    virtual bool GetPressedChar(char* ch, int* modifiers) const = 0;
    // The printable ASCII characters typed since the previous poll, as the
    // layout, Shift and Caps Lock made them (other characters are dropped).
    virtual const std::string& GetTypedText() const = 0;
    virtual bool IsKeyPressed(int key) const = 0;   // state 3
    virtual bool IsKeyReleased(int key) const = 0;  // state 2

protected:
    ~IKeyboardController() = default;
};
