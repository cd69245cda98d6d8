#include "graphics/particle_param.h"

#include "engine/logger.h"

namespace Plume {

CParticleParam::CParticleParam(std::vector<ParamKey> keys)
    : _keys(std::make_shared<const std::vector<ParamKey>>(std::move(keys))) {}

const std::vector<ParamKey>& CParticleParam::Keys() const {
    static const std::vector<ParamKey> none;
    return _keys ? *_keys : none;
}

CParticleParam CParticleParam::Share() const {
    CParticleParam copy;
    copy._keys = _keys;
    copy._shared = true;
    return copy;
}

float CParticleParam::GetValue(float t) const {
    if (!_keys || _keys->empty()) return 0.0f;  // the loader never lets a curve without keys through
    const std::vector<ParamKey>& k = *_keys;
    if (k.size() == 1 || t <= k.front().time) return k.front().value;
    if (t >= k.back().time) return k.back().value;
    const size_t i = SegmentBefore(k, t);
    const ParamKey& a = k[i];
    const ParamKey& b = k[i + 1];
    const float span = b.time - a.time;
    if (span == 0.0f) {
        CLogger::Instance().Log(2, "Error: %s. File=%s, Line=%d", "Invalid Zero Value (CParticleParam::GetValue)",
                                __FILE__, __LINE__);
        return b.value;
    }
    return a.value + (b.value - a.value) * ((t - a.time) / span);
}

}  // namespace Plume
