#pragma once
// The input manager shared by the mouse, the keyboard and the joystick.
class CDInputManager;

class CBaseDInputController {
public:
    // A null manager logs "Error: NULL pointer!" and is kept.
    void SetInputManager(CDInputManager* manager);
    CDInputManager* GetInputManager() const { return _manager; }

protected:
    CDInputManager* _manager = nullptr;
};
