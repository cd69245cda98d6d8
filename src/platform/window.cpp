#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <csignal>

#include "platform/screen_fit.h"
#include "platform/system.h"
#include "platform/virtual_keys.h"
#include "platform/x11_display.h"

namespace plat {

namespace {

std::atomic<bool> g_quit_requested {false};

void OnQuitSignal(int) { Window::RequestQuit(); }

int MouseButtonIndex(uint8_t sdl_button) {
    switch (sdl_button) {
        case SDL_BUTTON_LEFT: return 0;
        case SDL_BUTTON_RIGHT: return 1;
        case SDL_BUTTON_MIDDLE: return 2;
        case SDL_BUTTON_X1: return 3;
        case SDL_BUTTON_X2: return 4;
        default: return -1;
    }
}

int MouseButtonKey(int index) {
    switch (index) {
        case 0: return VK_LBUTTON;
        case 1: return VK_RBUTTON;
        case 2: return VK_MBUTTON;
        case 3: return 0x05;  // VK_XBUTTON1
        case 4: return 0x06;  // VK_XBUTTON2
        default: return 0;
    }
}

}  // namespace

namespace {
std::atomic<int> g_mouse_speed {10};
}

int GetSystemMouseSpeed() { return g_mouse_speed.load(); }

bool SetSystemMouseSpeed(int speed) {
    if (speed < 1 || speed > 20) return false;
    g_mouse_speed.store(speed);
    return true;
}

void Window::RequestQuit() { g_quit_requested.store(true); }

void InstallQuitSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnQuitSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

std::unique_ptr<Window> Window::Create(const std::string& title, int width, int height, bool fullscreen) {
    // Termination signals are ours (they end the game through WM_QUIT).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    Uint32 flags = SDL_WINDOW_HIDDEN | (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    SDL_Window* w = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!w) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    std::unique_ptr<Window> win(new Window());
    win->_window = w;
    win->_width = width;
    win->_height = height;
    win->_fullscreen = fullscreen;
    win->_windowed_x = win->_windowed_y = SDL_WINDOWPOS_CENTERED;
    win->UpdateShownSize();
    return win;
}

Window::~Window() {
    if (!_system_cursor_shown) SDL_ShowCursor(SDL_ENABLE);
    if (_window) {
        SDL_DestroyWindow(_window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

void Window::Show() {
    SDL_ShowWindow(_window);
    if (_fullscreen) FillDisplay();
    SDL_StartTextInput();
    // Start from where the pointer is, when it is over the window already.
    if (SDL_GetMouseFocus() == _window) SDL_GetMouseState(&_cursor_x, &_cursor_y);
}

bool Window::SetFullscreen(bool fullscreen) {
    if (_refuse_mode_switches) return false;
    if (fullscreen && !_fullscreen) SDL_GetWindowPosition(_window, &_windowed_x, &_windowed_y);
    if (SDL_SetWindowFullscreen(_window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
    _fullscreen = fullscreen;
    UpdateShownSize();
    if (fullscreen) FillDisplay();
    else RestoreWindowedPlace();
    return true;
}

void Window::FillDisplay() {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(_window)), &bounds) != 0) return;
    if (_shown_width == bounds.w && _shown_height == bounds.h) return;
    // SDL leaves a full-screen window's size and place alone.
    X11PlaceWindow(_window, bounds.x, bounds.y, bounds.w, bounds.h);
    TakePlacedSize(bounds.w, bounds.h);
}

void Window::RestoreWindowedPlace() {
    int w = 0, h = 0;
    SDL_GetWindowSize(_window, &w, &h);
    if (_shown_width == _width && _shown_height == _height && w == _width && h == _height) return;
    // SDL may still take the window for full-screen sized: its surface and
    // its mapping of the pointer would be too.
    SDL_SetWindowSize(_window, _width, _height);
    SDL_SetWindowPosition(_window, _windowed_x, _windowed_y);
    TakePlacedSize(_width, _height);
}

void Window::TakePlacedSize(int width, int height) {
    // Without a window manager the window has the size it was given.
    if (_no_window_manager && !_hold_shown_size) {
        _shown_width = width;
        _shown_height = height;
    }
    UpdateShownSize();
}

void Window::UpdateShownSize() {
    if (_hold_shown_size || _no_window_manager || !_window) return;
    // A window manager that resizes the window later says so with a size change.
    if (!X11WindowSize(_window, &_shown_width, &_shown_height))
        SDL_GetWindowSize(_window, &_shown_width, &_shown_height);
}

void Window::GetShownSize(int* width, int* height) const {
    *width = _shown_width;
    *height = _shown_height;
}

bool Window::TakeQuitRequest(Message* msg) {
    if (!g_quit_requested.exchange(false)) return false;
    *msg = Message {WM_QUIT, 0, 0};
    return true;
}

bool Window::PeekMessage(Message* msg) {
    if (TakeQuitRequest(msg)) return true;
    if (!_posted.empty()) {
        *msg = _posted.front();
        _posted.pop_front();
        return true;
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (Translate(e, msg)) return true;
        if (!_posted.empty()) {
            *msg = _posted.front();
            _posted.pop_front();
            return true;
        }
    }
    return false;
}

void Window::GetMessage(Message* msg) {
    for (;;) {
        if (PeekMessage(msg)) return;
        // Wake now and then so that a termination signal is seen while waiting.
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, 50) && Translate(e, msg)) return;
    }
}

void Window::PumpEvents() {
    SDL_Event e;
    Message m;
    while (SDL_PollEvent(&e))
        if (Translate(e, &m)) _posted.push_back(m);
}

intptr_t Window::DispatchMessage(const Message& msg) { return _proc ? _proc(*this, msg) : 0; }

intptr_t Window::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return DispatchMessage(Message {message, wParam, lParam});
}

void Window::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    _posted.push_back(Message {message, wParam, lParam});
}

void Window::PostQuitMessage(int exit_code) { PostMessage(WM_QUIT, static_cast<uintptr_t>(exit_code), 0); }

void Window::SetKey(int vk, bool down) {
    if (vk <= 0 || vk > 255) return;
    if (down && !_keys[vk]) {
        _pressed_since[vk] = 1;
        _press_latch[vk] = 1;
        _poll_latch[vk] = 1;
        if (_keys[VK_MENU] && vk != VK_LMENU && vk != VK_RMENU) _alt_press_latch[vk] = 1;
    }
    _keys[vk] = down ? 1 : 0;
    if (int generic = GenericModifier(vk)) {
        bool any = false;
        for (int k = VK_LSHIFT; k <= VK_RMENU; ++k)
            if (GenericModifier(k) == generic && _keys[k]) any = true;
        if (any && !_keys[generic]) _pressed_since[generic] = _poll_latch[generic] = 1;
        _keys[generic] = any ? 1 : 0;
    }
}

void Window::PushMouse(const MouseEvent& e) {
    if (e.kind != MouseEvent::Button) {
        for (auto it = _mouse_events.rbegin(); it != _mouse_events.rend() && it->kind != MouseEvent::Button; ++it) {
            if (it->kind != e.kind) continue;
            it->value += e.value;
            return;
        }
    }
    // A full buffer loses the newest records, as the device's own buffer does.
    if (_mouse_events.size() < kMouseBufferSize) _mouse_events.push_back(e);
}

MouseEvent Window::ButtonRecord(int button, bool down) const {
    MouseEvent e {MouseEvent::Button, static_cast<uint8_t>(button), down ? 1 : 0, GetTickCount()};
    e.x = _cursor_x;
    e.y = _cursor_y;
    return e;
}

bool Window::Translate(const SDL_Event& e, Message* out) {
    switch (e.type) {
        case SDL_QUIT:
            if (_proc) SendMessage(WM_DESTROY, 0, 0);
            else PostQuitMessage(0);
            return false;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED: InjectFocus(true); break;
                case SDL_WINDOWEVENT_FOCUS_LOST: InjectFocus(false); break;
                case SDL_WINDOWEVENT_MINIMIZED: _minimized = true; break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_SHOWN: _minimized = false; break;
                case SDL_WINDOWEVENT_ENTER: SendMessage(WM_SETCURSOR, 0, HTCLIENT); break;
                case SDL_WINDOWEVENT_LEAVE: SendMessage(WM_SETCURSOR, 0, 0); break;
                case SDL_WINDOWEVENT_EXPOSED:
                    // A window manager that makes the window larger uncovers
                    // it without a size change from SDL, which took the new
                    // size already. Drawn again at once: an inactive game
                    // draws no frames.
                    UpdateShownSize();
                    _exposed = true;
                    *out = Message {WM_PAINT, 0, 0};
                    return true;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    UpdateShownSize();
                    _exposed = true;
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    if (_proc) SendMessage(WM_DESTROY, 0, 0);
                    else PostQuitMessage(0);
                    break;
                default: break;
            }
            return false;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int vk = VirtualKeyFromKey(e.key.keysym.scancode, e.key.keysym.sym);
            if (vk == 0) return false;
            bool down = e.type == SDL_KEYDOWN;
            SetKey(vk, down);
            int generic = GenericModifier(vk);
            int code = generic ? generic : vk;
            bool sys = _keys[VK_MENU] || vk == VK_F10;
            out->message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
            out->wParam = static_cast<uintptr_t>(code);
            intptr_t lp = 1 | (static_cast<intptr_t>(e.key.keysym.scancode & 0xFF) << 16);
            if (e.key.repeat || !down) lp |= intptr_t(1) << 30;
            if (!down) lp |= intptr_t(1) << 31;
            out->lParam = lp;
            return true;
        }
        case SDL_TEXTINPUT: InjectText(e.text.text); return false;
        case SDL_MOUSEMOTION: {
            _cursor_x = e.motion.x;
            _cursor_y = e.motion.y;
            ToScreen(&_cursor_x, &_cursor_y);
            uint32_t now = GetTickCount();
            if (e.motion.xrel) PushMouse(MouseEvent {MouseEvent::AxisX, 0, e.motion.xrel, now});
            if (e.motion.yrel) PushMouse(MouseEvent {MouseEvent::AxisY, 0, e.motion.yrel, now});
            SendMessage(WM_SETCURSOR, 0, HTCLIENT);
            *out = Message {WM_MOUSEMOVE, 0, static_cast<intptr_t>((_cursor_y & 0xFFFF) << 16 | (_cursor_x & 0xFFFF))};
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int index = MouseButtonIndex(e.button.button);
            if (index < 0) return false;
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            _cursor_x = e.button.x;
            _cursor_y = e.button.y;
            ToScreen(&_cursor_x, &_cursor_y);
            SetKey(MouseButtonKey(index), down);
            PushMouse(ButtonRecord(index, down));
            return false;
        }
        case SDL_MOUSEWHEEL: {
            int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            if (notches) PushMouse(MouseEvent {MouseEvent::AxisZ, 0, notches * 120, GetTickCount()});
            return false;
        }
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET: _renderer_reset = true; return false;
        default: return false;
    }
}

bool Window::TakeRendererReset() {
    bool r = _renderer_reset;
    _renderer_reset = false;
    return r;
}

bool Window::TakeExposed() {
    bool r = _exposed;
    _exposed = false;
    return r;
}

int16_t Window::GetAsyncKeyState(int vk) {
    if (vk <= 0 || vk > 255) return 0;
    int16_t r = static_cast<int16_t>((_keys[vk] ? 0x8000 : 0) | (_pressed_since[vk] ? 1 : 0));
    _pressed_since[vk] = 0;
    return r;
}

bool Window::IsKeyDown(int vk) const { return vk > 0 && vk <= 255 && _keys[vk]; }

bool Window::TakeKeyPress(int vk, bool with_alt) {
    if (vk <= 0 || vk > 255) return false;
    auto& latch = with_alt ? _alt_press_latch : _press_latch;
    bool pressed = latch[vk] != 0;
    latch[vk] = 0;
    return pressed;
}

bool Window::TakePolledPress(int vk) {
    if (vk <= 0 || vk > 255) return false;
    const bool pressed = _poll_latch[vk] != 0;
    _poll_latch[vk] = 0;
    return pressed;
}

void Window::GetCursorPos(int* x, int* y) const {
    if (x) *x = _cursor_x;
    if (y) *y = _cursor_y;
}

void Window::SetCursorPos(int x, int y) {
    // The pointer is there already as far as the events tell: warping it to the
    // same place would only pull it back from where the player moved it since.
    if (x == _cursor_x && y == _cursor_y) return;
    _cursor_x = x;
    _cursor_y = y;
    if (!_window || !(SDL_GetWindowFlags(_window) & SDL_WINDOW_INPUT_FOCUS)) return;
    // The screen is 800x600 logical pixels scaled into the window.
    ScreenFit(_width, _height, _shown_width, _shown_height).ToWindow(&x, &y);
    SDL_WarpMouseInWindow(_window, x, y);
}

void Window::ToScreen(int* x, int* y) const {
    // A renderer that scales the screen into the window maps the pointer back itself.
    if (_window && SDL_GetRenderer(_window)) return;
    ScreenFit(_width, _height, _shown_width, _shown_height).ToScreen(x, y);
}

void Window::ShowSystemCursor(bool show) {
    if (show == _system_cursor_shown) return;
    _system_cursor_shown = show;
    if (_window) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool Window::ReadMouseEvent(MouseEvent* out) {
    if (_mouse_events.empty()) return false;
    *out = _mouse_events.front();
    _mouse_events.pop_front();
    return true;
}

void Window::InjectKey(int vk, bool down, bool repeat, bool types) {
    if (vk <= 0 || vk > 255) return;
    SetKey(vk, down);
    const bool printable = vk == VK_SPACE || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z');
    if (down && types && printable) InjectText(std::string(1, static_cast<char>(vk)));
    int generic = GenericModifier(vk);
    int code = generic ? generic : vk;
    bool sys = _keys[VK_MENU] || vk == VK_F10;
    uint32_t msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    PostMessage(msg, static_cast<uintptr_t>(code), 1 | (repeat || !down ? intptr_t(1) << 30 : 0));
}

void Window::InjectText(const std::string& utf8) {
    // Nobody reads the text while no edit box is open: keep only the latest.
    constexpr size_t kMaxTypedText = 256;
    if (_typed_text.size() + utf8.size() > kMaxTypedText) _typed_text.clear();
    _typed_text += utf8.substr(0, kMaxTypedText);
}

std::string Window::TakeTypedText() {
    std::string text;
    text.swap(_typed_text);
    return text;
}

void Window::InjectMouseMove(int x, int y) {
    uint32_t now = GetTickCount();
    if (x != _cursor_x) PushMouse(MouseEvent {MouseEvent::AxisX, 0, x - _cursor_x, now});
    if (y != _cursor_y) PushMouse(MouseEvent {MouseEvent::AxisY, 0, y - _cursor_y, now});
    _cursor_x = x;
    _cursor_y = y;
}

void Window::InjectMouseButton(int button, bool down) {
    int vk = MouseButtonKey(button);
    if (!vk) return;
    SetKey(vk, down);
    PushMouse(ButtonRecord(button, down));
}

void Window::InjectWheel(int notches) {
    if (notches) PushMouse(MouseEvent {MouseEvent::AxisZ, 0, notches * 120, GetTickCount()});
}

void Window::InjectFocus(bool focused) {
    _focused = focused;
    if (!focused) {
        // Keys held when the focus leaves would otherwise stay down forever.
        _keys.fill(0);
        _pressed_since.fill(0);
        _press_latch.fill(0);
        _alt_press_latch.fill(0);
        _poll_latch.fill(0);
        _typed_text.clear();
    }
    uintptr_t w = (focused ? WA_ACTIVE : WA_INACTIVE) | (_minimized ? 0x10000u : 0u);
    SendMessage(WM_ACTIVATE, w, 0);
}

}  // namespace plat
