#include "platform/joystick_device.h"

#include <SDL.h>

#include <cstdlib>

namespace plat {

std::unique_ptr<JoystickDevice> JoystickDevice::OpenFirst() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return nullptr;
    std::unique_ptr<JoystickDevice> dev(new JoystickDevice());
    if (!dev->Reacquire()) return nullptr;
    return dev;
}

JoystickDevice::~JoystickDevice() {
    if (_joy) SDL_JoystickClose(_joy);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool JoystickDevice::Reacquire() {
    if (_joy && SDL_JoystickGetAttached(_joy)) return true;
    if (_joy) SDL_JoystickClose(_joy);
    _joy = nullptr;
    SDL_JoystickUpdate();
    if (SDL_NumJoysticks() <= 0) return false;
    _joy = SDL_JoystickOpen(0);
    return _joy != nullptr;
}

int32_t JoystickDevice::ScaleAxis(int16_t raw) {
    // -32768..32767 to -1000..1000; the inner half of the range reads 0 and the
    // outer half is stretched over the whole range.
    int32_t v = static_cast<int32_t>(raw) * 1000 / 32767;
    if (v < -1000) v = -1000;
    int32_t mag = std::abs(v);
    if (mag < 500) return 0;
    int32_t scaled = (mag - 500) * 2;
    return v < 0 ? -scaled : scaled;
}

bool JoystickDevice::Poll(JoystickState* out) {
    if (!_joy) return false;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(_joy)) return false;
    out->x = SDL_JoystickNumAxes(_joy) > 0 ? ScaleAxis(SDL_JoystickGetAxis(_joy, 0)) : 0;
    out->y = SDL_JoystickNumAxes(_joy) > 1 ? ScaleAxis(SDL_JoystickGetAxis(_joy, 1)) : 0;
    int n = SDL_JoystickNumButtons(_joy);
    for (int i = 0; i < static_cast<int>(out->buttons.size()); ++i)
        out->buttons[i] = (i < n && SDL_JoystickGetButton(_joy, i)) ? 0x80 : 0;
    return true;
}

}  // namespace plat
