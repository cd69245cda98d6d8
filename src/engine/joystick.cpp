#include "engine/joystick.h"

#include "engine/cursor_keeper_interface.h"
#include "engine/dinput_manager.h"
#include "engine/input_state.h"
#include "engine/logger.h"

CJoystick::CJoystick() : _state(MAX_BUTTONS, kInputUp) {}

bool CJoystick::IsMoved() const { return GetAxisX() != 0 || GetAxisY() != 0; }
int CJoystick::GetAxisX() const { return _manager ? _manager->GetJoystickMoveX() : 0; }
int CJoystick::GetAxisY() const { return _manager ? _manager->GetJoystickMoveY() : 0; }
int CJoystick::GetX() const { return _cursor ? _cursor->GetX() : (_manager ? _manager->GetJoystickX() : 0); }
int CJoystick::GetY() const { return _cursor ? _cursor->GetY() : (_manager ? _manager->GetJoystickY() : 0); }

void CJoystick::SetPosition(int x, int y) {
    if (_manager) _manager->SetJoystickPosition(x, y);
    if (_cursor) _cursor->SetHotSpot(x, y);
}

bool CJoystick::IsInputActive(int id) const {
    if (!_manager) return false;
    switch (id) {
        case 0: return _manager->GetJoystickDirection(0);  // left
        case 1: return _manager->GetJoystickDirection(2);  // right
        case 2: return _manager->GetJoystickDirection(1);  // up
        case 3: return _manager->GetJoystickDirection(3);  // down
        default: break;
    }
    if (id >= kJoystickFirstButton) return _manager->IsJoystickButtonDown(id - kJoystickFirstButton);
    CLogger::Instance().Log(2, "Error: invalid joystick axis %d requested!", id);
    return false;
}

bool CJoystick::IsButtonPressed(int id) const {
    size_t but = static_cast<size_t>(id);
    if (!ASSERT(MAX_BUTTONS > but)) return false;
    return _state[but] == kInputPressed;
}

bool CJoystick::IsButtonReleased(int id) const {
    size_t but = static_cast<size_t>(id);
    if (!ASSERT(MAX_BUTTONS > but)) return false;
    return _state[but] == kInputReleased;
}
