#include "engine/keyboard.h"

#include <cctype>

#include "engine/dinput_manager.h"
#include "engine/input_state.h"
#include "engine/logger.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

CKeyboard::CKeyboard() : _key_state(256, kInputUp) {}

bool CKeyboard::ValidKey(int key) const {
    size_t key_to_test = static_cast<size_t>(key);
    return ASSERT(key_to_test < _key_state.size());
}

void CKeyboard::Poll() {
    plat::Window* window = _manager ? _manager->GetWindow() : nullptr;
    if (!window) return;
    for (int vk = 0; vk < 256; ++vk) {
        // The mouse takes its own buttons' presses.
        const bool pressed = !plat::IsMouseButtonKey(vk) && window->TakePolledPress(vk);
        _key_state[vk] = NextInputState(_key_state[vk], IsKeyDown(vk), pressed);
    }
    // Every byte of a multi-byte UTF-8 character is 0x80 or above, so keeping
    // the printable ASCII bytes drops such characters whole.
    _typed_text.clear();
    for (char ch : window->TakeTypedText())
        if (ch >= 0x20 && ch < 0x7F) _typed_text.push_back(ch);
}

bool CKeyboard::IsKeyDown(int key) {
    plat::Window* window = _manager ? _manager->GetWindow() : nullptr;
    return window && (window->GetAsyncKeyState(key) & 0x8000) != 0;
}

bool CKeyboard::WasKeyPressed(int key) {
    plat::Window* window = _manager ? _manager->GetWindow() : nullptr;
    return window && (window->GetAsyncKeyState(key) & 1) != 0;
}

int CKeyboard::GetKeyState(int key) const { return ValidKey(key) ? _key_state[key] : kInputUp; }

bool CKeyboard::IsKeyPressed(int key) const { return GetKeyState(key) == kInputPressed; }
bool CKeyboard::IsKeyReleased(int key) const { return GetKeyState(key) == kInputReleased; }

bool CKeyboard::GetPressedKey(int* key) const {
    for (int vk = 255; vk >= 0; --vk)
        if (_key_state[vk] == kInputPressed) {
            if (key) *key = vk;
            return true;
        }
    return false;
}

bool CKeyboard::GetPressedChar(char* ch, int* modifiers) const {
    for (int vk = 0x7E; vk >= 0x20; --vk) {
        if (_key_state[vk] != kInputPressed || !std::isprint(vk)) continue;
        int mods = 0;
        if (_key_state[plat::VK_RSHIFT] == kInputHeld) mods |= 1;
        if (_key_state[plat::VK_LSHIFT] == kInputHeld) mods |= 2;
        if (_key_state[plat::VK_LCONTROL] == kInputHeld || _key_state[plat::VK_RCONTROL] == kInputHeld) mods |= 8;
        if (_key_state[plat::VK_LMENU] == kInputHeld || _key_state[plat::VK_RMENU] == kInputHeld) mods |= 4;
        if (ch) *ch = static_cast<char>(vk);
        if (modifiers) *modifiers = mods;
        return true;
    }
    return false;
}
