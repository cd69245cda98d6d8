#pragma once
// What the controls take from the engine core: the polled input devices and
// the sound keeper's samples. Every accessor gives null (and every sound call
// does nothing) while there is no engine core, so controls can be built and
// laid out without one.
#include <string>

class IMouseController;
class IKeyboardController;
class IJoystickController;

namespace gui {

IMouseController* Mouse();
IKeyboardController* Keyboard();
IJoystickController* Joystick();

// An empty alias is ignored.
void LoadSample(const std::string& alias);
void PlaySample(const std::string& alias);

}  // namespace gui
