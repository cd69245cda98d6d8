#pragma once
// The four states of every mouse button, key and joystick input, stepped once
// per poll: 0 up, 3 went down at this poll, 1 held, 2 went up at this poll.
enum InputState : int { kInputUp = 0, kInputHeld = 1, kInputReleased = 2, kInputPressed = 3 };

// `pressed_since`: the input went down at least once since the previous poll,
// however briefly; such a press shows as pressed even when it is up again.
inline int NextInputState(int state, bool down, bool pressed_since = false) {
    if (pressed_since) return kInputPressed;
    if (down) return (state == kInputUp || state == kInputReleased) ? kInputPressed : kInputHeld;
    return (state == kInputHeld || state == kInputPressed) ? kInputReleased : kInputUp;
}
