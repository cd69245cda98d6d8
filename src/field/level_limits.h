#pragma once
// What a level file may ask of the screen: the field must fit on it and stand
// on it. The game's level reader and the level tool apply the same rules, so
// a level the game would refuse or move fails the tool at build time.
#include <algorithm>

namespace level_limits {

// The game's screen, when no engine tells another.
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// True when a field of `columns` x `rows` cells of the given size fits on the screen.
inline bool FieldFitsScreen(int columns, int rows, double cell_w, double cell_h, int screen_w, int screen_h) {
    return columns >= 0 && rows >= 0 && columns * cell_w <= screen_w && rows * cell_h <= screen_h;
}

// A field edge (left or top) moved, where needed, so that a field `field_px`
// long stands on a screen `screen_px` long; a field longer than the screen
// starts at 0.
inline int ClampFieldEdge(int edge, double field_px, int screen_px) {
    const double last = std::max(0.0, screen_px - field_px);
    return static_cast<int>(std::clamp(static_cast<double>(edge), 0.0, last));
}

}  // namespace level_limits
