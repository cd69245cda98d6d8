#pragma once
// The gradient-noise tables of the particle effects, filled once from a fixed
// seed of the program's random generator so that every run wobbles alike.
#include <array>

namespace Plume {

class CNoise {
public:
    static constexpr int kSize = 512;
    static constexpr int kTableSize = kSize + kSize + 2;

    // Seeds the program's random generator with 548485 and draws the tables.
    void Fill();
    // 1-D gradient noise, smooth, roughly in [-0.5, 0.5].
    float Noise1(float x) const;

    const std::array<int, kTableSize>& Permutation() const { return _p; }
    const std::array<float, kTableSize>& Gradients1() const { return _g1; }
    const std::array<std::array<float, 3>, kTableSize>& Gradients3() const { return _g3; }
    const std::array<std::array<float, 4>, kTableSize>& Gradients4() const { return _g4; }

private:
    std::array<int, kTableSize> _p {};
    std::array<float, kTableSize> _g1 {};
    std::array<std::array<float, 3>, kTableSize> _g3 {};
    std::array<std::array<float, 4>, kTableSize> _g4 {};
};

}  // namespace Plume
