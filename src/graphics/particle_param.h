#pragma once
// A scalar curve of the particle effects: keys of (time, value) in ascending
// time, linearly interpolated and held at both ends. A started emitter shares
// the keys of the library's curve instead of copying them.
#include <memory>
#include <vector>

namespace Plume {

struct ParamKey {
    float time;
    float value;
};

// The index i of the keys around t (k[i].time < t <= k[i + 1].time) for t
// strictly between the first and the last key's time, found by bisection so
// that long curves cost little per particle. Keys out of order give some
// segment, never one outside the keys.
template <typename Key>
size_t SegmentBefore(const std::vector<Key>& k, float t) {
    size_t lo = 1, hi = k.size() - 1;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (k[mid].time < t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo - 1;
}

class CParticleParam {
public:
    CParticleParam() = default;
    explicit CParticleParam(std::vector<ParamKey> keys);

    float GetValue(float t) const;

    size_t KeyCount() const { return _keys ? _keys->size() : 0; }
    const std::vector<ParamKey>& Keys() const;
    // A copy that points at the same keys and is marked shared.
    CParticleParam Share() const;
    bool IsShared() const { return _shared; }

private:
    std::shared_ptr<const std::vector<ParamKey>> _keys;
    bool _shared = false;
};

}  // namespace Plume
