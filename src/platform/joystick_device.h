#pragma once
// The first attached game controller, read through SDL_Joystick: the stand-in
// for the DirectInput joystick with its range of -1000..1000 on x and y and a
// dead zone of half the range.
#include <array>
#include <cstdint>
#include <memory>

struct _SDL_Joystick;

namespace plat {

struct JoystickState {
    int32_t x = 0, y = 0;               // -1000..1000, 0 inside the dead zone
    std::array<uint8_t, 128> buttons {};  // 0x80 while down
};

class JoystickDevice {
public:
    // Opens the first attached controller; null when there is none.
    static std::unique_ptr<JoystickDevice> OpenFirst();
    ~JoystickDevice();
    JoystickDevice(const JoystickDevice&) = delete;
    JoystickDevice& operator=(const JoystickDevice&) = delete;

    // Reads the current state; false when the controller was detached.
    bool Poll(JoystickState* out);
    // Opens it again after a detach; false while it is still gone.
    bool Reacquire();

    static int32_t ScaleAxis(int16_t raw);

private:
    JoystickDevice() = default;
    _SDL_Joystick* _joy = nullptr;
};

}  // namespace plat
