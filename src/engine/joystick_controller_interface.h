#pragma once
// The first game controller: it can move the cursor and its buttons serve as input.

// The input id of joystick button 0 (IsInputActive): ids from here on are buttons.
constexpr int kJoystickFirstButton = 10;

class IJoystickController {
public:
    virtual bool IsMoved() const = 0;
    virtual int GetAxisX() const = 0;  // movement of the last poll
    virtual int GetAxisY() const = 0;
    virtual int GetX() const = 0;      // the cursor's hot spot
    virtual int GetY() const = 0;
    virtual void SetPosition(int x, int y) = 0;
    // 0..3: left, right, up, down; 10 and up: button (id - 10) held.
    virtual bool IsInputActive(int id) const = 0;
    virtual bool IsButtonPressed(int id) const = 0;
    virtual bool IsButtonReleased(int id) const = 0;
    virtual bool IsAnyButtonPressed() const = 0;
    virtual bool IsAnyButtonReleased() const = 0;

protected:
    ~IJoystickController() = default;
};
