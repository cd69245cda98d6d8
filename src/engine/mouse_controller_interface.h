#pragma once
// The polled mouse as the game reads it once per frame. Buttons: 0 left,
// 1 right, 2 middle. Every button is in one of the four input states (0 up,
// 3 went down at this poll, 1 held, 2 went up at this poll).
#include <cstdint>
#include <string>
#include <vector>

// One button going down or up since the previous poll, where the pointer was
// when it happened. `time` is game time; a press whose button's previous
// release lies less than the double-click interval before it is a double click.
struct MouseButtonEvent {
    int button = 0;
    bool down = false;
    int x = 0, y = 0;
    uint32_t time = 0;
    bool double_click = false;
};

class IMouseController {
public:
    virtual int GetDeltaX() const = 0;   // movement in pixels since the last poll
    virtual int GetDeltaY() const = 0;
    virtual int GetX() const = 0;        // the cursor's hot spot
    virtual int GetY() const = 0;
    virtual int GetAxis1() const = 0;    // the buffered mouse's accumulated second axis
    virtual int GetWheel() const = 0;    // wheel movement of the last poll (120 per notch)
    virtual bool SetSpeed(int value) = 0;
    virtual int GetSpeed() const = 0;
    virtual void SetPosition(int x, int y, int z) = 0;
    virtual void SetBounds(int min_x, int min_y, int min_z, int max_x, int max_y, int max_z) = 0;
    virtual bool IsMoved() const = 0;
    virtual bool IsButtonDown(int button) const = 0;      // state 1 or 3
    virtual bool IsButtonPressed(int button) const = 0;   // state 3
    virtual bool IsButtonReleased(int button) const = 0;  // state 2
    virtual bool IsAnyButtonDown() const = 0;
    // A press of this poll made a double click.
    virtual bool IsDoubleClick(int button) const = 0;
    // Every button press and release since the previous poll, in order (none
    // after ResetButtons).
    virtual std::vector<MouseButtonEvent> GetButtonEvents() const = 0;
    virtual void ResetButtons() = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual bool IsCursorVisible() const = 0;
    virtual bool SetCursor(const std::string& name) = 0;

protected:
    ~IMouseController() = default;
};
