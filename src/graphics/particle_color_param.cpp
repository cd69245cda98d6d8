#include "graphics/particle_color_param.h"

#include <cmath>

#include "engine/logger.h"
#include "graphics/particle_param.h"

namespace Plume {

CParticleColorParam::CParticleColorParam(std::vector<ColorKey> keys, int repeat, int extra)
    : _keys(std::make_shared<const std::vector<ColorKey>>(std::move(keys))), _repeat(repeat), _extra(extra) {}

const std::vector<ColorKey>& CParticleColorParam::Keys() const {
    static const std::vector<ColorKey> none;
    return _keys ? *_keys : none;
}

CParticleColorParam CParticleColorParam::Share() const {
    CParticleColorParam copy = *this;
    copy._shared = true;
    return copy;
}

void CParticleColorParam::GetValue(float t, float out[4]) const {
    if (!_keys || _keys->empty()) {
        out[0] = out[1] = out[2] = out[3] = 1.0f;
        return;
    }
    const std::vector<ColorKey>& k = *_keys;
    auto copy = [out](const ColorKey& key) {
        for (int i = 0; i < 4; ++i) out[i] = key.c[i];
    };
    if (k.size() == 1 || t <= k.front().time) return copy(k.front());
    if (_repeat > 1) {
        const float span = k.back().time - k.front().time;
        if (span > 0.0f) t = std::fmod(static_cast<float>(_repeat) * t, span) + k.front().time;
    } else if (t >= k.back().time) {
        return copy(k.back());
    }
    if (t <= k.front().time) return copy(k.front());
    if (t >= k.back().time) return copy(k.back());
    const size_t i = SegmentBefore(k, t);
    const ColorKey& a = k[i];
    const ColorKey& b = k[i + 1];
    const float span = b.time - a.time;
    if (span == 0.0f) {
        CLogger::Instance().Log(2, "Error: %s. File=%s, Line=%d",
                                "Invalid Zero Value (CParticleColorParam::GetValue)", __FILE__, __LINE__);
        return copy(b);
    }
    const float f = (t - a.time) / span;
    for (int c = 0; c < 4; ++c) out[c] = a.c[c] + (b.c[c] - a.c[c]) * f;
}

}  // namespace Plume
