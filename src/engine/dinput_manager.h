#pragma once
// The input devices under the mouse, keyboard and joystick controllers: the
// keyboard's key buffer, the buffered mouse with its accumulated axes, per-poll
// movements and button events (with release times for double clicks), and the
// first game controller. Polled once per frame by the engine core.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/mouse_controller_interface.h"
#include "engine/noncopyable.h"
#include "platform/joystick_device.h"
#include "platform/render_device.h"

namespace plat {
class Window;
struct MouseEvent;
}

class CDInputManager : NonCopyable {
public:
    static constexpr int kMouseButtons = 8;
    static constexpr int kJoystickDivisor = 200;
    using TickSource = uint32_t (*)();

    CDInputManager();
    ~CDInputManager();

    // The creation steps; each returns a result code (kOk on success).
    plat::Result Create(plat::Window* window);
    plat::Result CreateKeyboard();
    plat::Result CreateMouse();
    // A missing controller is no failure: the joystick then stays absent.
    plat::Result CreateJoystick();
    void Acquire();
    bool IsCreated() const { return _window != nullptr; }
    plat::Window* GetWindow() const { return _window; }

    // Reads the keyboard, the buffered mouse records and the joystick.
    void Poll();

    static constexpr uint32_t kDoubleClickMs = 200;

    // The clock of release times and double clicks: game time (tests set their
    // own). A record takes the time of the poll that reads it: game time does
    // not advance within a frame.
    void SetTickSource(TickSource source) { _tick = source; }
    uint32_t Now() const { return _tick(); }

    // Keyboard: 0x80 while a key (by virtual-key code) is down.
    const std::array<uint8_t, 256>& KeyBuffer() const { return _keys; }

    // Mouse.
    bool IsMousePresent() const { return _mouse_present; }
    void SetMouseBounds(int min_x, int min_y, int min_z, int max_x, int max_y, int max_z);
    void SetMousePosition(int x, int y, int z);
    int GetMouseAxis(int axis) const { return _axis[axis]; }   // accumulated, within the bounds
    int GetMouseMove(int axis) const { return _move[axis]; }   // movement of the last poll
    bool IsMouseButtonDown(int button) const;
    // 0 no record at the last poll, 1 a press arrived, 2 a release arrived.
    int GetMouseButtonEvent(int button) const;
    uint32_t GetMouseReleaseTime(int button) const;
    // The button records of the last poll in order, left, right and middle only.
    const std::vector<MouseButtonEvent>& GetMouseButtonEvents() const { return _btn_events; }
    void ResetMouseButtons();

    // Joystick.
    bool IsJoystickPresent() const { return _joy_present; }
    int GetJoystickX() const { return _joy_x; }
    int GetJoystickY() const { return _joy_y; }
    int GetJoystickMoveX() const { return _joy_dx; }
    int GetJoystickMoveY() const { return _joy_dy; }
    // 0 left, 1 up, 2 right, 3 down.
    bool GetJoystickDirection(int dir) const { return dir >= 0 && dir < 4 && _joy_dir[dir]; }
    bool IsJoystickButtonDown(int button) const;
    void SetJoystickPosition(int x, int y);
    // Feeds a controller state as if it had been read (tests).
    void ApplyJoystickState(const plat::JoystickState& state);

private:
    void PollMouse();
    void TakeMouseButton(const plat::MouseEvent& e, uint32_t now);
    void PollJoystick();

    plat::Window* _window = nullptr;
    TickSource _tick;
    bool _keyboard_acquired = false;
    std::array<uint8_t, 256> _keys {};

    bool _mouse_present = false, _mouse_acquired = false;
    std::array<int, 3> _axis {}, _move {}, _min {}, _max {};
    float _speed = 1.0f;
    std::array<bool, kMouseButtons> _btn_down {};
    std::array<int, kMouseButtons> _btn_event {};
    std::array<uint32_t, kMouseButtons> _btn_release {};
    std::array<bool, kMouseButtons> _btn_released_once {};
    std::vector<MouseButtonEvent> _btn_events;

    std::unique_ptr<plat::JoystickDevice> _joystick;
    bool _joy_present = false, _joy_acquired = false;
    plat::JoystickState _joy_state;
    int _joy_x = 0, _joy_y = 0, _joy_dx = 0, _joy_dy = 0;
    std::array<bool, 4> _joy_dir {};
};
