#pragma once
// A colour curve of the particle effects: keys of (time, r, g, b, a), linearly
// interpolated; with a repeat count above 1 the curve runs that many times
// over its span.
#include <memory>
#include <vector>

namespace Plume {

struct ColorKey {
    float time;
    float c[4];  // red, green, blue, alpha, 0 to 1
};

class CParticleColorParam {
public:
    CParticleColorParam() = default;
    CParticleColorParam(std::vector<ColorKey> keys, int repeat, int extra);

    // Writes the four components at time t.
    void GetValue(float t, float out[4]) const;

    size_t KeyCount() const { return _keys ? _keys->size() : 0; }
    const std::vector<ColorKey>& Keys() const;
    int Repeat() const { return _repeat; }
    // The further integer of the file record; kept and written back, never used.
    int Extra() const { return _extra; }
    CParticleColorParam Share() const;
    bool IsShared() const { return _shared; }

private:
    std::shared_ptr<const std::vector<ColorKey>> _keys;
    int _repeat = 0;
    int _extra = 0;
    bool _shared = false;
};

}  // namespace Plume
