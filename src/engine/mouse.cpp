#include "engine/mouse.h"

#include "engine/cursor_keeper_interface.h"
#include "engine/dinput_manager.h"
#include "engine/input_state.h"
#include "engine/logger.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

namespace {
const int kButtonKeys[3] = {plat::VK_LBUTTON, plat::VK_RBUTTON, plat::VK_MBUTTON};
}

CMouse::CMouse() : _saved_speed(plat::GetSystemMouseSpeed()), _btn_state(3, kInputUp) {}

CMouse::~CMouse() { plat::SetSystemMouseSpeed(_saved_speed); }

bool CMouse::ValidButton(int but) const { return ASSERT((size_t)but < _btn_state.size()); }

void CMouse::Poll() {
    plat::Window* window = _manager ? _manager->GetWindow() : nullptr;
    if (!window) return;
    int x = 0, y = 0;
    // The window reports client coordinates of the 800x600 screen in either mode.
    window->GetCursorPos(&x, &y);
    _dx = x - _x;
    _dy = y - _y;
    _wheel = _manager->GetMouseMove(2);
    _moved = _dx != 0 || _dy != 0;
    _x = x;
    _y = y;
    _axis1 = _manager->GetMouseAxis(1);
    for (size_t i = 0; i < _btn_state.size(); ++i)
        _btn_state[i] = NextInputState(_btn_state[i], window->IsKeyDown(kButtonKeys[i]),
                                       window->TakePolledPress(kButtonKeys[i]));
}

// The cursor sprite follows the movement of the poll only when the frame ends.
int CMouse::GetX() const { return _cursor ? _cursor->GetX() + _dx : _x; }
int CMouse::GetY() const { return _cursor ? _cursor->GetY() + _dy : _y; }

bool CMouse::SetSpeed(int value) {
    if (!ASSERT(value <= 20)) value = 20;
    return plat::SetSystemMouseSpeed(value);
}

int CMouse::GetSpeed() const { return plat::GetSystemMouseSpeed(); }

void CMouse::SetPosition(int x, int y, int z) {
    _x = x;
    _y = y;
    if (_manager) {
        if (plat::Window* window = _manager->GetWindow()) window->SetCursorPos(x, y);
        _manager->SetMousePosition(x, y, z);
    }
    _dx = _dy = 0;
    _moved = true;
    if (_cursor) _cursor->SetHotSpot(x, y);
}

void CMouse::SetBounds(int min_x, int min_y, int min_z, int max_x, int max_y, int max_z) {
    if (_manager) _manager->SetMouseBounds(min_x, min_y, min_z, max_x, max_y, max_z);
}

int CMouse::GetButtonState(int but) const { return ValidButton(but) ? _btn_state[but] : kInputUp; }

bool CMouse::IsButtonDown(int but) const {
    int s = GetButtonState(but);
    return s == kInputHeld || s == kInputPressed;
}

bool CMouse::IsButtonPressed(int but) const { return GetButtonState(but) == kInputPressed; }
bool CMouse::IsButtonReleased(int but) const { return GetButtonState(but) == kInputReleased; }

bool CMouse::IsAnyButtonDown() const { return IsButtonDown(0) || IsButtonDown(1) || IsButtonDown(2); }

bool CMouse::IsDoubleClick(int but) const {
    if (!ValidButton(but) || !_manager) return false;
    for (const MouseButtonEvent& e : _manager->GetMouseButtonEvents())
        if (e.button == but && e.double_click) return true;
    return false;
}

std::vector<MouseButtonEvent> CMouse::GetButtonEvents() const {
    return _manager ? _manager->GetMouseButtonEvents() : std::vector<MouseButtonEvent> {};
}

void CMouse::ResetButtons() {
    if (_manager) _manager->ResetMouseButtons();
    for (int& s : _btn_state) s = kInputUp;
}

void CMouse::ShowCursor(bool show) {
    if (_cursor) _cursor->Show(show);
}

bool CMouse::IsCursorVisible() const { return _cursor && _cursor->IsVisible(); }

bool CMouse::SetCursor(const std::string& name) { return _cursor && _cursor->SetCursor(name); }
