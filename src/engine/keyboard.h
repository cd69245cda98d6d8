#pragma once
// The keyboard: 256 keys by virtual-key code through the four input states,
// stepped once per poll from the instantaneous key state.
#include <vector>

#include "engine/base_dinput_controller.h"
#include "engine/keyboard_controller_interface.h"
#include "engine/noncopyable.h"

class CKeyboard : public IKeyboardController, public CBaseDInputController, NonCopyable {
public:
    CKeyboard();

    void Poll();

    bool IsKeyDown(int key) override;
    bool WasKeyPressed(int key) override;
    bool GetPressedKey(int* key) const override;
    bool GetPressedChar(char* ch, int* modifiers) const override;
    const std::string& GetTypedText() const override { return _typed_text; }
    bool IsKeyPressed(int key) const override;
    bool IsKeyReleased(int key) const override;

    int GetKeyState(int key) const;

private:
    bool ValidKey(int key) const;
    std::vector<int> _key_state;
    std::string _typed_text;
};
