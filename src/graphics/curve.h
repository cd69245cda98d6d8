#pragma once
// A smooth path through given points, sampled at an even parameter step, that
// game objects fly along.
#include <vector>

#include "engine/vector2.h"

class CCurve {
public:
    // The most points a path is made of (besides its last point).
    static constexpr int kMaxPathPoints = 20000;

    // The path through `points` (any number, each coordinate rounded): samples at
    // t = 0, step, 2 step ... below n - 1, then the last point as given. A path
    // that would need more than kMaxPathPoints samples is spread evenly over
    // that many (logged). An empty list or a step not above 0 logs a failed
    // check and leaves the path empty.
    bool BuildPath(const std::vector<CVector2>& points, float step);
    int GetPathPointCount() const { return static_cast<int>(_path_points.size()); }
    // The path point at index trunc(t), moved toward the next by the fraction of t;
    // t is clamped to the path (before 0 gives the first point, past the end the
    // last). False, with a failed check, on an empty path.
    bool GetPathPoint(float t, float& x, float& y) const;
    const std::vector<CVector2>& GetPathPoints() const { return _path_points; }

private:
    std::vector<CVector2> _key_points;
    std::vector<CVector2> _path_points;
    bool _mirror_x = false;
    bool _mirror_y = false;
};
