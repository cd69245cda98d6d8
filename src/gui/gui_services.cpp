#include "gui/gui_services.h"

#include "engine/engine_core_interface.h"
#include "engine/joystick_controller_interface.h"
#include "engine/keyboard_controller_interface.h"
#include "engine/mouse_controller_interface.h"
#include "engine/sound_keeper_interface.h"
#include "platform/virtual_keys.h"

namespace gui {

IMouseController* Mouse() { return g_EngineCore ? g_EngineCore->GetMouse() : nullptr; }
IKeyboardController* Keyboard() { return g_EngineCore ? g_EngineCore->GetKeyboard() : nullptr; }
IJoystickController* Joystick() { return g_EngineCore ? g_EngineCore->GetJoystick() : nullptr; }

PressInputs ReadPressInputs() {
    PressInputs in;
    IMouseController* mouse = Mouse();
    IKeyboardController* keyboard = Keyboard();
    IJoystickController* joystick = Joystick();
    in.mouse = mouse && IsLeftButtonHeld(*mouse);
    in.enter = keyboard && keyboard->IsKeyDown(plat::VK_RETURN);
    in.joystick = joystick && joystick->IsInputActive(::kJoystickFirstButton);
    return in;
}

std::vector<MouseButtonEvent> LeftButtonEvents() {
    std::vector<MouseButtonEvent> left;
    if (IMouseController* mouse = Mouse())
        for (const MouseButtonEvent& e : mouse->GetButtonEvents())
            if (e.button == 0) left.push_back(e);
    return left;
}

bool IsLeftButtonHeld(const IMouseController& mouse) {
    const std::vector<MouseButtonEvent> events = mouse.GetButtonEvents();
    for (auto it = events.rbegin(); it != events.rend(); ++it)
        if (it->button == 0) return it->down;
    return mouse.IsButtonDown(0);
}

ISoundKeeper* SoundKeeper() { return g_EngineCore ? g_EngineCore->GetSoundKeeper() : nullptr; }

void LoadSample(const std::string& alias) {
    if (alias.empty()) return;
    if (ISoundKeeper* keeper = SoundKeeper()) keeper->LoadSample(alias);
}

void PlaySample(const std::string& alias) {
    if (alias.empty()) return;
    if (ISoundKeeper* keeper = SoundKeeper()) keeper->PlaySample(alias);
}

}  // namespace gui
