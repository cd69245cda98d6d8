#pragma once
// The mouse: position and movement from the window's cursor, buttons through
// the four input states, wheel, second axis and double clicks from the buffered
// mouse, and the cursor through the cursor keeper.
#include <vector>

#include "engine/base_dinput_controller.h"
#include "engine/dinput_manager.h"
#include "engine/mouse_controller_interface.h"
#include "engine/noncopyable.h"

class ICursorKeeper;

class CMouse : public IMouseController, public CBaseDInputController, NonCopyable {
public:
    static constexpr uint32_t kDoubleClickMs = CDInputManager::kDoubleClickMs;

    // Saves the system mouse speed; the destructor puts it back.
    CMouse();
    ~CMouse();

    void SetCursorKeeper(ICursorKeeper* keeper) { _cursor = keeper; }
    // The per-frame poll (after the input manager's).
    void Poll();

    int GetDeltaX() const override { return _dx; }
    int GetDeltaY() const override { return _dy; }
    // The hot spot where the cursor goes at the end of this frame: the
    // pointer's position since this poll, so a frame sees the pointer where it is.
    int GetX() const override;
    int GetY() const override;
    int GetAxis1() const override { return _axis1; }
    int GetWheel() const override { return _wheel; }
    bool SetSpeed(int value) override;
    int GetSpeed() const override;
    void SetPosition(int x, int y, int z) override;
    void SetBounds(int min_x, int min_y, int min_z, int max_x, int max_y, int max_z) override;
    bool IsMoved() const override { return _moved; }
    bool IsButtonDown(int but) const override;
    bool IsButtonPressed(int but) const override;
    bool IsButtonReleased(int but) const override;
    bool IsAnyButtonDown() const override;
    bool IsDoubleClick(int but) const override;
    std::vector<MouseButtonEvent> GetButtonEvents() const override;
    void ResetButtons() override;
    void ShowCursor(bool show) override;
    bool IsCursorVisible() const override;
    bool SetCursor(const std::string& name) override;

    int GetButtonState(int but) const;

private:
    bool ValidButton(int but) const;

    ICursorKeeper* _cursor = nullptr;
    int _x = 0, _y = 0, _dx = 0, _dy = 0;
    int _wheel = 0, _axis1 = 0;
    bool _moved = false;
    int _saved_speed = 10;
    std::vector<int> _btn_state;
};
