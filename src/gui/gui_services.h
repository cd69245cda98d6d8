#pragma once
// What the controls take from the engine core: the polled input devices and
// the sound keeper's samples. Every accessor gives null (and every sound call
// does nothing) while there is no engine core, so controls can be built and
// laid out without one.
#include <string>
#include <vector>

#include "engine/mouse_controller_interface.h"

class IKeyboardController;
class IJoystickController;
class ISoundKeeper;

namespace gui {

// The inputs that press a control, as polled this frame.
struct PressInputs {
    bool mouse = false;     // left button down after this poll's records
    bool enter = false;     // Enter key down
    bool joystick = false;  // first joystick button active
    bool Any() const { return mouse || enter || joystick; }
};
PressInputs ReadPressInputs();
// The left button's presses and releases since the last poll, in order, each
// where the pointer was (a copy: a handler may reset the buttons meanwhile).
std::vector<MouseButtonEvent> LeftButtonEvents();
// The left button is down after this poll's records: a click that began and
// ended within one frame leaves it up.
bool IsLeftButtonHeld(const IMouseController& mouse);

IMouseController* Mouse();
IKeyboardController* Keyboard();
IJoystickController* Joystick();
// The engine core's sound keeper; null without a core.
ISoundKeeper* SoundKeeper();

// An empty alias is ignored.
void LoadSample(const std::string& alias);
void PlaySample(const std::string& alias);

}  // namespace gui
