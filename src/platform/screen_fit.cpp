#include "platform/screen_fit.h"

#include <algorithm>

namespace plat {

ScreenFit::ScreenFit(int screen_w, int screen_h, int window_w, int window_h)
    : _screen_w(std::max(1, screen_w)), _screen_h(std::max(1, screen_h)) {
    if (window_w <= 0 || window_h <= 0) return;
    const double scale = std::min(static_cast<double>(window_w) / _screen_w, static_cast<double>(window_h) / _screen_h);
    _w = static_cast<int>(_screen_w * scale);
    _h = static_cast<int>(_screen_h * scale);
    _x = (window_w - _w) / 2;
    _y = (window_h - _h) / 2;
}

void ScreenFit::ToScreen(int* x, int* y) const {
    if (_w <= 0 || _h <= 0) return;
    // The screen pixel under the middle of the window pixel.
    const long sx = (2L * (*x - _x) + 1) * _screen_w, sy = (2L * (*y - _y) + 1) * _screen_h;
    *x = static_cast<int>(std::clamp(sx < 0 ? 0 : sx / (2L * _w), 0L, static_cast<long>(_screen_w - 1)));
    *y = static_cast<int>(std::clamp(sy < 0 ? 0 : sy / (2L * _h), 0L, static_cast<long>(_screen_h - 1)));
}

void ScreenFit::ToWindow(int* x, int* y) const {
    if (_w <= 0 || _h <= 0) return;
    // The middle of the window pixels that show the screen pixel.
    *x = _x + static_cast<int>((2L * *x + 1) * _w / (2L * _screen_w));
    *y = _y + static_cast<int>((2L * *y + 1) * _h / (2L * _screen_h));
}

}  // namespace plat
