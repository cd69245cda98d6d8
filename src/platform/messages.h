#pragma once
// Window messages: our stand-in for the Win32 message queue's records and the
// message numbers the game reads or posts.
#include <cstdint>

namespace plat {

struct Message {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;

// WM_ACTIVATE's low word.
constexpr uint32_t WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
// WM_SETCURSOR's hit test for the client area.
constexpr uint32_t HTCLIENT = 1;

inline uint32_t LoWord(uintptr_t v) { return static_cast<uint32_t>(v & 0xFFFF); }
inline uint32_t HiWord(uintptr_t v) { return static_cast<uint32_t>((v >> 16) & 0xFFFF); }

// Where the main loop reads its messages: the window's queue in the game, a
// scripted source in tests.
class IMessageSource {
public:
    virtual ~IMessageSource() = default;
    // Takes the next message without waiting; false when there is none.
    virtual bool PeekMessage(Message* msg) = 0;
    // Waits for the next message.
    virtual void GetMessage(Message* msg) = 0;
    // Hands a message to the window procedure.
    virtual intptr_t DispatchMessage(const Message& msg) = 0;
};

}  // namespace plat
