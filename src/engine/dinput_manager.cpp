#include "engine/dinput_manager.h"

#include <algorithm>
#include <cmath>

#include "engine/game_clock.h"
#include "platform/system.h"
#include "platform/window.h"

CDInputManager::CDInputManager() : _tick(&GameTimeMs) {
    _max = {800, 600, 0};
}

CDInputManager::~CDInputManager() = default;

plat::Result CDInputManager::Create(plat::Window* window) {
    if (!window) return plat::kErrInvalidCall;
    _window = window;
    return plat::kOk;
}

plat::Result CDInputManager::CreateKeyboard() { return _window ? plat::kOk : plat::kErrInvalidCall; }

plat::Result CDInputManager::CreateMouse() {
    if (!_window) return plat::kErrInvalidCall;
    _mouse_present = true;
    return plat::kOk;
}

plat::Result CDInputManager::CreateJoystick() {
    if (!_window) return plat::kErrInvalidCall;
    _joystick = plat::JoystickDevice::OpenFirst();
    _joy_present = _joystick != nullptr;
    return plat::kOk;
}

void CDInputManager::Acquire() {
    if (!_window) return;
    _keyboard_acquired = true;
    _mouse_acquired = _mouse_present;
    _joy_acquired = _joy_present;
    // Records from before the game started are none of its business.
    _window->ClearMouseEvents();
}

void CDInputManager::Poll() {
    if (!_window) return;
    if (_keyboard_acquired)
        for (int vk = 0; vk < 256; ++vk) _keys[vk] = _window->IsKeyDown(vk) ? 0x80 : 0;
    PollMouse();
    PollJoystick();
}

void CDInputManager::PollMouse() {
    _move = {0, 0, 0};
    _btn_event.fill(0);
    _btn_events.clear();
    if (!_mouse_acquired) return;
    const uint32_t now = Now();
    plat::MouseEvent e;
    while (_window->ReadMouseEvent(&e)) {
        if (e.kind == plat::MouseEvent::Button) {
            TakeMouseButton(e, now);
            continue;
        }
        int a = e.kind == plat::MouseEvent::AxisX ? 0 : (e.kind == plat::MouseEvent::AxisY ? 1 : 2);
        int delta = static_cast<int>(std::lround(e.value * _speed));
        _move[a] += delta;
        int v = _axis[a] + delta;
        if (v < _min[a]) v = _min[a];
        if (v > _max[a]) v = _max[a];
        _axis[a] = v;
    }
}

// Each press is measured against its button's previous release, also one read
// in this same poll, so both clicks of a fast double click count.
void CDInputManager::TakeMouseButton(const plat::MouseEvent& e, uint32_t now) {
    const int b = e.button;
    if (b >= kMouseButtons) return;
    const bool down = e.value != 0;
    MouseButtonEvent record {b, down, e.x, e.y, now, false};
    if (down) {
        _btn_down[b] = true;
        _btn_event[b] = 1;
        record.double_click = _btn_released_once[b] && now - _btn_release[b] < kDoubleClickMs;
    } else {
        _btn_down[b] = false;
        _btn_event[b] = 2;
        _btn_release[b] = now;
        _btn_released_once[b] = true;
    }
    if (b < 3) _btn_events.push_back(record);
}

void CDInputManager::PollJoystick() {
    if (!_joy_acquired) return;
    if (!_joystick) return;
    plat::JoystickState st;
    if (!_joystick->Poll(&st)) {
        // Lost: acquire again and read nothing this time.
        _joy_present = false;
        if (_joystick->Reacquire()) _joy_present = true;
        return;
    }
    ApplyJoystickState(st);
}

void CDInputManager::ApplyJoystickState(const plat::JoystickState& st) {
    _joy_state = st;
    _joy_dx = st.x / kJoystickDivisor;
    _joy_dy = st.y / kJoystickDivisor;
    _joy_x += _joy_dx;
    _joy_y += _joy_dy;
    _joy_dir[0] = st.x < 0;
    _joy_dir[1] = st.y < 0;
    _joy_dir[2] = st.x > 0;
    _joy_dir[3] = st.y > 0;
}

void CDInputManager::SetMouseBounds(int min_x, int min_y, int min_z, int max_x, int max_y, int max_z) {
    _min = {min_x, min_y, min_z};
    _max = {max_x, max_y, max_z};
}

void CDInputManager::SetMousePosition(int x, int y, int z) {
    _axis = {x, y, z};
    _speed = 1.0f;
}

bool CDInputManager::IsMouseButtonDown(int button) const {
    return button >= 0 && button < kMouseButtons && _btn_down[button];
}

int CDInputManager::GetMouseButtonEvent(int button) const {
    return (button >= 0 && button < kMouseButtons) ? _btn_event[button] : 0;
}

uint32_t CDInputManager::GetMouseReleaseTime(int button) const {
    return (button >= 0 && button < kMouseButtons) ? _btn_release[button] : 0;
}

void CDInputManager::ResetMouseButtons() {
    _btn_down.fill(false);
    _btn_event.fill(0);
    _btn_events.clear();
}

bool CDInputManager::IsJoystickButtonDown(int button) const {
    return button >= 0 && button < static_cast<int>(_joy_state.buttons.size()) && (_joy_state.buttons[button] & 0x80);
}

void CDInputManager::SetJoystickPosition(int x, int y) {
    _joy_x = x;
    _joy_y = y;
    _joy_dx = _joy_dy = 0;
}
