#include "engine/game_math.h"

#include <cmath>
#include <cstdint>

#include "engine/logger.h"
#include "engine/random.h"

int Round(float v) {
    float whole = std::trunc(v);
    int thousandths = static_cast<int>((v - whole) * 1000.0f);
    return static_cast<int>(thousandths <= 490 ? std::floor(v) : std::ceil(v));
}

int RandomRange(int min_val, int max_val) {
    if (min_val == max_val) return min_val;
    ASSERT(max_val > min_val);
    int64_t span = static_cast<int64_t>(max_val) - min_val;
    return static_cast<int>(rt::rand() % span + min_val);
}

void BuildTrajectory(float angle, float speed, const CVector2& start, float duration, float step,
                     std::vector<CVector2>& points) {
    points.clear();
    if (step <= 0.0f) return;  // would never end
    float a = angle * 3.1415927f / 180.0f;
    float c = std::cos(a), s = std::sin(a);
    // Counting steps keeps the sample times exact over long paths.
    for (int i = 0;; ++i) {
        float t = static_cast<float>(i) * step;
        if (!(t < duration)) break;
        points.emplace_back(start.x + speed * c * t, start.y + speed * s * t - 0.3f * t * t / 2.0f);
    }
}
