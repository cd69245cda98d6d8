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
