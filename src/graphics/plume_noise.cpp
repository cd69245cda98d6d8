#include "graphics/plume_noise.h"

#include <cmath>

#include "engine/random.h"

namespace Plume {

namespace {
float Component() { return static_cast<float>(fx::rand() % 1024 - 512) / 512.0f; }

template <size_t N>
void DrawUnitGradient(std::array<float, N>& v) {
    float len2;
    do {
        len2 = 0.0f;
        for (size_t k = 0; k < N; ++k) {
            v[k] = Component();
            len2 += v[k] * v[k];
        }
    } while (len2 > 1.0f);
    const float len = std::sqrt(len2);
    if (len > 0.0f)
        for (size_t k = 0; k < N; ++k) v[k] /= len;
}
}  // namespace

void CNoise::Fill() {
    fx::srand(548485);
    for (int i = 0; i < kSize; ++i) {
        _p[i] = i;
        _g1[i] = Component();
        float x, y;
        do {  // the 2-D table is not kept, but its draws shape the sequence
            x = Component();
            y = Component();
        } while (x * x + y * y > 1.0f);
        DrawUnitGradient(_g3[i]);
        DrawUnitGradient(_g4[i]);
    }
    for (int i = kSize - 1; i > 0; --i) {
        const int j = fx::rand() % kSize;
        std::swap(_p[i], _p[j]);
    }
    for (int i = 0; i < kSize + 2; ++i) {
        _p[kSize + i] = _p[i];
        _g1[kSize + i] = _g1[i];
        _g3[kSize + i] = _g3[i];
        _g4[kSize + i] = _g4[i];
    }
}

float CNoise::Noise1(float x) const {
    const float t = x + 10000.0f;
    const float fl = std::floor(t);
    const float f = t - fl;
    const long i = static_cast<long>(fl);
    const int i0 = static_cast<int>(((i % kSize) + kSize) % kSize);
    const int i1 = (i0 + 1) % kSize;
    const float s = f * f * (3.0f - 2.0f * f);
    const float a = f * _g1[_p[i0]];
    const float b = (f - 1.0f) * _g1[_p[i1]];
    return a + s * (b - a);
}

}  // namespace Plume
