#pragma once
// The first game controller: movement moves the cursor, directions and buttons
// serve as inputs.
#include <cstddef>
#include <vector>

#include "engine/base_dinput_controller.h"
#include "engine/joystick_controller_interface.h"
#include "engine/noncopyable.h"

class ICursorKeeper;

class CJoystick : public IJoystickController, public CBaseDInputController, NonCopyable {
public:
    static constexpr size_t MAX_BUTTONS = 256;

    CJoystick();
    void SetCursorKeeper(ICursorKeeper* keeper) { _cursor = keeper; }

    bool IsMoved() const override;
    int GetAxisX() const override;
    int GetAxisY() const override;
    int GetX() const override;
    int GetY() const override;
    void SetPosition(int x, int y) override;
    bool IsInputActive(int id) const override;
    bool IsButtonPressed(int id) const override;
    bool IsButtonReleased(int id) const override;
    bool IsAnyButtonPressed() const override { return false; }
    bool IsAnyButtonReleased() const override { return false; }

private:
    ICursorKeeper* _cursor = nullptr;
    // Input states by id; nothing steps them, so presses and releases never show.
    std::vector<int> _state;
};
