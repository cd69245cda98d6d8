#pragma once
// The main window and its message queue: our stand-in for the Win32 window,
// PeekMessage/GetMessage/DispatchMessage, the asynchronous key state and the
// cursor, built on SDL2 events.
//
// SDL events become Win32-style messages: key presses (and their auto-repeats)
// WM_KEYDOWN with Windows virtual-key codes (WM_SYSKEYDOWN while Alt is held or
// for F10), focus changes WM_ACTIVATE (sent straight to the window procedure,
// which posts the game's private activation message), the pointer entering or
// leaving the client area WM_SETCURSOR, an uncovered window WM_PAINT, and the
// close button or a termination signal WM_DESTROY. Mouse movement, buttons and the wheel also go to the
// buffered mouse of the input stand-in (input_devices.h).
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/messages.h"

struct SDL_Window;
union SDL_Event;

namespace plat {

class Window;
using WindowProc = std::function<intptr_t(Window&, const Message&)>;

// One record of the buffered mouse (as DirectInput delivers it).
struct MouseEvent {
    enum Kind : uint8_t { AxisX, AxisY, AxisZ, Button };
    Kind kind = AxisX;
    uint8_t button = 0;   // 0 left, 1 right, 2 middle, 3.. extra buttons
    int32_t value = 0;    // axis: movement; button: 1 pressed, 0 released
    uint32_t time = 0;    // tick count when it happened
    int32_t x = 0, y = 0; // button: the pointer's client position when it happened
};
constexpr size_t kMouseBufferSize = 64;

class Window : public IMessageSource {
public:
    // Creates the window (hidden until Show) of the given client size, centred
    // on the desktop. Null when SDL's video cannot start or the window fails.
    static std::unique_ptr<Window> Create(const std::string& title, int width, int height, bool fullscreen);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void SetWindowProc(WindowProc proc) { _proc = std::move(proc); }
    void Show();
    bool SetFullscreen(bool fullscreen);
    bool IsFullscreen() const { return _fullscreen; }
    SDL_Window* Native() const { return _window; }
    int ClientWidth() const { return _width; }
    int ClientHeight() const { return _height; }
    // The size the display really gives the window. SDL's own idea can differ:
    // a display without a window manager keeps the window's size through a
    // mode switch while SDL takes the full-screen size.
    void GetShownSize(int* width, int* height) const;

    // IMessageSource: posted messages first, then translated SDL events.
    bool PeekMessage(Message* msg) override;
    void GetMessage(Message* msg) override;
    intptr_t DispatchMessage(const Message& msg) override;
    // Calls the window procedure at once (a sent message).
    intptr_t SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void PostQuitMessage(int exit_code);
    // Translates every waiting SDL event (keeps the key state and the buffered
    // mouse current without taking messages off the queue).
    void PumpEvents();

    // The asynchronous key state by virtual-key code (mouse buttons included):
    // the high bit (0x8000) while down, the low bit (1) when the key was pressed
    // since the previous query of that key.
    int16_t GetAsyncKeyState(int vk);
    bool IsKeyDown(int vk) const;
    // True once per press of the key since the last call, however short the
    // press was; with `with_alt`, only presses made while Alt was held count.
    bool TakeKeyPress(int vk, bool with_alt = false);
    // True once per press of the key since the previous call: the polled
    // devices keep presses that began and ended between two polls.
    bool TakePolledPress(int vk);
    // The text typed since the previous call, UTF-8, as the layout, Shift
    // and Caps Lock made it.
    std::string TakeTypedText();
    // Cursor position in client coordinates of the 800x600 screen.
    void GetCursorPos(int* x, int* y) const;
    void SetCursorPos(int x, int y);
    // The system cursor (the game draws its own over the client area).
    void ShowSystemCursor(bool show);
    bool IsSystemCursorShown() const { return _system_cursor_shown; }
    bool HasFocus() const { return _focused; }
    // True once after SDL reported that the renderer lost its resources.
    bool TakeRendererReset();
    // True once after the window was uncovered or resized: its whole picture
    // must be shown again.
    bool TakeExposed();

    // The buffered mouse: takes the oldest record; false when none is waiting.
    // Movements between two button records are summed into one record per
    // axis, so a burst of motion cannot crowd the clicks out of the buffer.
    bool ReadMouseEvent(MouseEvent* out);
    void ClearMouseEvents() { _mouse_events.clear(); }

    // Test hooks: inject input as if it came from the devices.
    // A letter, digit or space key going down also types its own key code's
    // character (capital letters), unless `types` is off.
    void InjectKey(int vk, bool down, bool repeat = false, bool types = true);
    void InjectText(const std::string& utf8);
    void InjectMouseMove(int x, int y);
    void InjectMouseButton(int button, bool down);
    void InjectWheel(int notches);
    void InjectFocus(bool focused);
    // Makes every later mode switch fail, as a display without that mode would.
    void RefuseModeSwitches(bool refuse) { _refuse_mode_switches = refuse; }
    // Keeps the shown size as it is through mode switches and the window's
    // own placing, as a display that refuses both would.
    void HoldShownSize(bool hold) { _hold_shown_size = hold; }
    // Mode switches keep the shown size and only the window's own placing
    // changes it, as on a display without a window manager.
    void ActWithoutWindowManager(bool act) { _no_window_manager = act; }

    // Sets by a signal handler: the next read of the queue posts WM_QUIT.
    static void RequestQuit();

private:
    Window() = default;
    // Turns one SDL event into a message; false when it makes none.
    bool Translate(const SDL_Event& e, Message* out);
    void SetKey(int vk, bool down);
    void PushMouse(const MouseEvent& e);
    // A button record at the pointer's current position.
    MouseEvent ButtonRecord(int button, bool down) const;
    bool TakeQuitRequest(Message* msg);
    // Asks the display for the window's size again.
    void UpdateShownSize();
    // Without a window manager a mode switch only changes SDL's idea of the
    // window: the window itself is put over the whole display, and back
    // where it was, here.
    void FillDisplay();
    void RestoreWindowedPlace();
    // The shown size after the window placed itself at that size.
    void TakePlacedSize(int width, int height);
    // A point of the window in coordinates of the screen it shows.
    void ToScreen(int* x, int* y) const;

    SDL_Window* _window = nullptr;
    WindowProc _proc;
    std::deque<Message> _posted;
    std::deque<MouseEvent> _mouse_events;
    std::string _typed_text;
    std::array<uint8_t, 256> _keys {};        // 1 while down
    std::array<uint8_t, 256> _pressed_since {};
    std::array<uint8_t, 256> _press_latch {}, _alt_press_latch {}, _poll_latch {};
    int _width = 800, _height = 600;
    int _shown_width = 800, _shown_height = 600;
    int _windowed_x = 0, _windowed_y = 0;  // where the window was before full screen
    int _cursor_x = 0, _cursor_y = 0;
    bool _fullscreen = false;
    bool _focused = false;
    bool _minimized = false;
    bool _system_cursor_shown = true;
    bool _renderer_reset = false;
    bool _exposed = false;
    bool _refuse_mode_switches = false;
    bool _hold_shown_size = false;
    bool _no_window_manager = false;
};

// Installs SIGINT and SIGTERM handlers that end the program through WM_QUIT.
void InstallQuitSignals();

// The system mouse speed (1..20, 10 by default). The desktop's pointer speed is
// not reachable from here, so the value is kept for the program's own use.
int GetSystemMouseSpeed();
bool SetSystemMouseSpeed(int speed);

}  // namespace plat
