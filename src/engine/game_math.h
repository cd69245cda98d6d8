#pragma once
// Scalar helpers, the runtime generator's ranges and the thrown-label path.
#include <vector>

#include "engine/angle.h"
#include "engine/float_rect.h"
#include "engine/vector2.h"

// On a tie either gives the second argument.
inline float Max(float a, float b) { return a > b ? a : b; }
inline float Min(float a, float b) { return a < b ? a : b; }

// floor(v) when the first three decimals of the float's fraction are 490 or
// less, else ceil(v): 2.49 and 2.4905 give 2, 2.4915 gives 3, 0.5 gives 1,
// -1.2 gives -2. The decimals are those of the float as stored: 2.491f is
// 2.4909999..., so it gives 2.
int Round(float v);

// rt::rand() % (max - min) + min: a value in [min, max); min when both are
// equal (nothing drawn). max below min logs the failed check and goes on.
int RandomRange(int min_val, int max_val);

// Clears `points`, then for t = 0, step, 2 step ... below `duration` appends
// (x0 + speed cos(a) t, y0 + speed sin(a) t - 0.3 t^2 / 2), a in degrees.
void BuildTrajectory(float angle, float speed, const CVector2& start, float duration, float step,
                     std::vector<CVector2>& points);

// v truncated toward zero into [lo, hi]; NaN counts as 0. For numbers read
// from data on their way to an integer: a float outside the int range has no
// integer value to convert to.
inline int TruncClamped(double v, int lo, int hi) {
    if (v != v) v = 0;
    if (v <= lo) return lo;
    if (v >= hi) return hi;
    return static_cast<int>(v);
}
