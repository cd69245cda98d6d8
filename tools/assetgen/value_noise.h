#pragma once
// Smooth steps and lattice value noise shared by the procedural textures.
#include <cmath>
#include <cstdint>

#include "image.h"

namespace assetgen {

// 0 below e0, 1 above e1, a smooth cubic between.
inline float Smooth(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

// A deterministic value in 0..1 for a lattice point.
inline float LatticeHash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

// Value noise in 0..1, smooth between the lattice points.
inline float ValueNoise(float x, float y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = x - ix, fy = y - iy;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = LatticeHash(ix, iy, seed), b = LatticeHash(ix + 1, iy, seed);
    const float c = LatticeHash(ix, iy + 1, seed), d = LatticeHash(ix + 1, iy + 1, seed);
    const float top = a + (b - a) * sx, bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

}  // namespace assetgen
