#include "graphics/curve.h"

#include <algorithm>
#include <cmath>

#include "engine/game_math.h"
#include "engine/logger.h"
#include "graphics/spline.h"

bool CCurve::BuildPath(const std::vector<CVector2>& points, float step) {
    _path_points.clear();
    _key_points = points;
    if (!ASSERT(!points.empty())) return false;
    if (!ASSERT(step > 0)) return false;
    CSpline spline;
    for (const CVector2& p : points)
        spline.AddKey(CVector2(static_cast<float>(Round(p.x)), static_cast<float>(Round(p.y))));
    // The samples are counted before they are made: a float sum of tiny steps
    // can stop growing and never reach the end, and a path of absurd length
    // is spread over the most points a path may have.
    const float end = static_cast<float>(points.size() - 1);
    const double wanted = std::ceil(static_cast<double>(end) / step);
    int count = static_cast<int>(std::min(wanted, static_cast<double>(kMaxPathPoints)));
    if (end > 0) count = std::max(count, 1);
    double spacing = step;
    if (wanted > kMaxPathPoints) {
        CLogger::Instance().Log(1, "Warning: A path of %.0f points is cut to %d.", wanted, kMaxPathPoints);
        spacing = static_cast<double>(end) / count;
    }
    _path_points.reserve(static_cast<size_t>(count) + 1);
    for (int i = 0; i < count; ++i) {
        CVector2 p;
        if (spline.Evaluate(static_cast<float>(i * spacing), p)) _path_points.push_back(p);
    }
    _path_points.push_back(points.back());
    return true;
}

bool CCurve::GetPathPoint(float t, float& x, float& y) const {
    if (!ASSERT(!_path_points.empty())) return false;
    const int last = static_cast<int>(_path_points.size()) - 1;
    float whole = std::trunc(t);
    float s = t - whole;
    int i = 0;
    if (whole >= static_cast<float>(last)) {
        i = last;
    } else if (whole > 0) {
        i = static_cast<int>(whole);
    } else if (t < 0) {
        s = 0;  // before the start
    }
    const CVector2& p = _path_points[static_cast<size_t>(i)];
    x = p.x;
    y = p.y;
    if (s < 0.00001f || i == last) return true;
    const CVector2& q = _path_points[static_cast<size_t>(i) + 1];
    x = p.x + (q.x - p.x) * s;
    y = p.y + (q.y - p.y) * s;
    return true;
}
