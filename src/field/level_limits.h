#pragma once
// What a level file may ask of the screen: the field must fit on it and stand
// on it; and the ranges of the level's and the saved game's numbers, kept far
// enough from the integer limits that nothing computed from them overflows.
// The game's level reader and the level tool apply the same rules, so a level
// the game would refuse or move fails the tool at build time.
#include <algorithm>
#include <cmath>

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

// Frame counts (the field updates 60 times a second): an hour at most for the
// row delay, an entry cell's delay and a bonus ball's timer and its spread.
constexpr int kMaxRowsFallDelay = 60 * 60 * 60;
constexpr int kMaxGeneratorDelay = kMaxRowsFallDelay;
constexpr int kMaxBonusTime = kMaxRowsFallDelay;
// The ace time in seconds (ten hours); it is counted in milliseconds.
constexpr int kMaxAceTime = 10 * 60 * 60;
// A background's layers and tiles (all layers together): the shipped ones
// have a dozen tiles; each tile is drawn and updated every frame.
constexpr int kMaxBackgroundLayers = 32;
constexpr int kMaxBackgroundTiles = 256;
// A saved game's score and lives, far below where adding to them overflows.
constexpr int kMaxSavedScore = 1000000000;
constexpr int kMaxSavedLives = 99999;

inline bool InRange(int value, int min, int max) { return value >= min && value <= max; }

// A speed (pixels or volume units per frame) that a fade or a scroll can use.
inline bool IsFiniteSpeed(float speed) { return std::isfinite(speed); }

}  // namespace level_limits
