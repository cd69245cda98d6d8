#pragma once
// Where the fixed-size screen shows in a window of any size: scaled with its
// proportions kept and centred, the rest of the window black. The frame is
// presented there and the pointer is mapped back from there.

namespace plat {

class ScreenFit {
public:
    // A screen of `screen_w` x `screen_h` in a window of `window_w` x `window_h`.
    ScreenFit(int screen_w, int screen_h, int window_w, int window_h);

    // The part of the window that shows the screen.
    int X() const { return _x; }
    int Y() const { return _y; }
    int Width() const { return _w; }
    int Height() const { return _h; }

    // A point of the window in screen coordinates; points on the black bars
    // go to the nearest edge of the screen.
    void ToScreen(int* x, int* y) const;
    // A point of the screen in window coordinates.
    void ToWindow(int* x, int* y) const;

private:
    int _screen_w, _screen_h;
    int _x = 0, _y = 0, _w = 0, _h = 0;
};

}  // namespace plat
