#pragma once
// Windows virtual-key codes, the key numbers the game uses for the keyboard
// and the mouse buttons, and the mapping from SDL's scancodes.
#include <cstdint>

namespace plat {

constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04;
// The codes of the mouse buttons (left, right, middle and the two extra ones).
constexpr bool IsMouseButtonKey(int vk) { return vk == VK_LBUTTON || vk == VK_RBUTTON || (vk >= VK_MBUTTON && vk <= 0x06); }
constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
constexpr int VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E;
constexpr int VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D;
constexpr int VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
              VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70, VK_F10 = 0x79, VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4,
              VK_RMENU = 0xA5;
constexpr int VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
              VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
              VK_OEM_102 = 0xE2;

// The virtual-key code of an SDL scancode (the left/right code for modifiers);
// 0 for keys the game has no code for. Letters and digits map to their
// upper-case ASCII codes, as on Windows.
int VirtualKeyFromScancode(int scancode);
// The virtual-key code of a key event: a key whose symbol in the active layout
// (SDL's keycode) is a letter or a digit takes that letter's or digit's code,
// so a German keyboard gives Z where Z is printed; every other key keeps the
// code of its position (the scancode).
int VirtualKeyFromKey(int scancode, int keycode);
// The generic code of a left/right modifier (VK_LSHIFT -> VK_SHIFT), else 0.
int GenericModifier(int vk);

}  // namespace plat
