#include "graphics/particle_type.h"

#include <cmath>

#include "graphics/particle_emitter.h"
#include "graphics/plume_noise.h"
#include "engine/random.h"

namespace Plume {

namespace {
// v varied by w: v + v x w x r with r in [-1, 1).
float Vary(float v, float w) {
    const float r = static_cast<float>((fx::rand() & 0x7FFF) - 16384) / 16384.0f;
    return v + v * w * r;
}
float Unit() { return static_cast<float>(fx::rand() & 0x7FFF) / 32767.0f; }
}  // namespace

CParticleType CParticleType::Start() const {
    CParticleType copy;
    copy.texture = texture;
    for (int i = 0; i < kIntCount; ++i) copy.ints[i] = ints[i];
    copy.color = color.Share();
    for (int i = 0; i < kCurveCount; ++i) copy.curves[i] = curves[i].Share();
    copy.attach = attach;
    copy.draw_order = draw_order;
    return copy;
}

void CParticleType::Update(const CParticleEmitter& e, float T, float dt, size_t* budget) {
    float v[kCurveCount];
    for (int i = 0; i < kSizeLife; ++i) v[i] = curves[i].GetValue(T);
    // The emitter's curves scale the start values of its types.
    v[kLife] *= e.Value(CParticleEmitter::kLife);
    v[kRate] *= e.Value(CParticleEmitter::kRate);
    v[kVisibility] *= e.Value(CParticleEmitter::kVisibility);
    v[kSpin] *= e.Value(CParticleEmitter::kSpin);
    v[kSpeed] *= e.Value(CParticleEmitter::kSpeed);
    v[kGravity] *= e.Value(CParticleEmitter::kGravity);
    v[kSize] *= e.Value(CParticleEmitter::kSize);
    v[kWobble] *= e.Value(CParticleEmitter::kWobble);
    v[kForceWeight] *= e.Value(CParticleEmitter::kForceWeight);

    int batches = 0;
    if (ints[kBurst] == 0) {
        batches = StreamBatches(v[kRate], v[kRateVar], dt);
    } else if (!_burst_done) {
        batches = 1;
        _burst_done = true;
    }
    if (batches > 0) {
        const int points = e.PointCount();
        for (int b = 0; b < batches; ++b) {
            for (int i = 0; i < points; ++i) {
                if (budget) {
                    if (*budget == 0) break;
                    --*budget;
                }
                EmitOne(e, v, i, T);
            }
        }
    }
    Age(T);
}

int CParticleType::StreamBatches(float rate, float rate_var, float dt) {
    const float n = Vary(rate, rate_var) * dt + _carried;
    if (!(n > 0.0f)) {
        _carried = 0.0f;
        return 0;
    }
    const float whole = std::floor(n);
    _carried = n - whole;
    return whole > kMaxBatchesPerUpdate ? kMaxBatchesPerUpdate : static_cast<int>(whole);
}

void CParticleType::EmitOne(const CParticleEmitter& e, const float v[kCurveCount], int index, float T) {
    Particle p {};
    p.birth = T;
    p.life = Vary(v[kLife], v[kLifeVar]);
    p.start_speed = Vary(v[kSpeed], v[kSpeedVar]);
    p.start_size = Vary(v[kSize], v[kSizeVar]);
    p.start_gravity = Vary(v[kGravity], v[kGravityVar]);
    p.start_wobble = Vary(v[kWobble], v[kWobbleVar]);
    p.start_force_weight = Vary(v[kForceWeight], v[kForceWeightVar]);
    p.start_spin = v[kSpin];
    p.start_visibility = v[kVisibility];
    p.scale = e.Value(CParticleEmitter::kScale);
    p.color_weight = e.Value(CParticleEmitter::kColorWeight);
    for (int c = 0; c < 4; ++c) p.color[c] = e.color[c];
    p.phase = static_cast<float>(fx::rand()) * 0.1432f;

    const int even = e.ints[CParticleEmitter::kEvenSpacing];
    const int per_direction = e.ints[CParticleEmitter::kPoints];
    const int reverse_int = e.ints[CParticleEmitter::kReverse];
    const int both = e.ints[CParticleEmitter::kBothDirections];
    const int shape = e.ints[CParticleEmitter::kShape];

    bool reverse;
    if (reverse_int == 0 || both == 0) {
        reverse = reverse_int != 0;
    } else if (even != 0) {
        reverse = (index & 1) != 0;
        index >>= 1;
    } else {
        reverse = (fx::rand() & 1) != 0;
    }

    const float spread = e.Value(CParticleEmitter::kSpread);
    const float shape_angle = e.Value(CParticleEmitter::kShapeAngle);
    const float shape_size = e.Value(CParticleEmitter::kShapeSize);
    float a = Unit() * spread + e.Value(CParticleEmitter::kDirection) - spread * 0.5f;

    p.x = e.x;
    p.y = e.y;
    if (shape == 1) {
        float t;
        if (even != 0)
            t = per_direction < 2 ? 0.0f : static_cast<float>(index) / static_cast<float>(per_direction - 1);
        else
            t = Unit();
        const float d = 2.0f * (t - 0.5f);
        p.x += d * shape_size * std::cos(shape_angle);
        p.y += d * shape_size * std::sin(shape_angle);
        a += shape_angle + 1.57075f;
    } else if (shape != 0) {
        float t;
        if (even != 0)
            t = per_direction < 1 ? 0.0f : static_cast<float>(index) / static_cast<float>(per_direction);
        else
            t = Unit();
        const float phi = t * 6.283f + shape_angle;
        p.x += shape_size * std::cos(phi);
        p.y += shape_size * std::sin(phi);
        a += phi;
    }
    p.dir_x = std::cos(a);
    p.dir_y = std::sin(a);
    if (reverse) {
        p.dir_x = -p.dir_x;
        p.dir_y = -p.dir_y;
    }
    const float type_angle = static_cast<float>(ints[kTypeAngle]) * 0.0174533f;
    if (ints[kAngleMode] == 2)
        p.angle = type_angle;
    else if (ints[kAngleMode] == 0)
        p.angle = type_angle + a;
    else
        p.angle = Unit() * 6.283f;
    p.off_x = p.x - e.x;
    p.off_y = p.y - e.y;
    p.speed = p.start_speed;
    p.spin = p.start_spin;
    p.size = p.start_size * p.scale;
    p.wobble = p.start_wobble;
    p.force_weight = p.start_force_weight;
    p.visibility = p.start_visibility;
    _particles.push_back(p);
}

void CParticleType::Age(float T) {
    size_t kept = 0;
    for (size_t i = 0; i < _particles.size(); ++i) {
        Particle& p = _particles[i];
        const float age = T - p.birth;
        // A life of 0 (or a negative one from a wild variation) ends at once.
        const float f = p.life > 0.0f ? age / p.life : 1.0f;
        if (f >= 1.0f) continue;
        p.speed = curves[kSpeedLife].GetValue(f) * p.start_speed;
        p.spin = curves[kSpinLife].GetValue(f) * p.start_spin;
        p.size = curves[kSizeLife].GetValue(f) * p.start_size * p.scale;
        p.wobble = curves[kWobbleLife].GetValue(f) * p.start_wobble;
        p.force_weight = curves[kForceWeightLife].GetValue(f) * p.start_force_weight;
        p.visibility = curves[kVisibilityLife].GetValue(f) * p.start_visibility;
        color.GetValue(f, p.color);
        p.dir_y += age * curves[kGravityLife].GetValue(f) * p.start_gravity;
        if (kept != i) _particles[kept] = p;
        ++kept;
    }
    _particles.resize(kept);
}

void CParticleType::Move(const CParticleEmitter& e, const CNoise& noise, float T, float dt) {
    for (Particle& p : _particles) {
        float wx = 0.0f, wy = 0.0f;
        if (p.wobble != 0.0f) {
            wx = noise.Noise1(0.12f * T + p.phase) * p.wobble;
            wy = noise.Noise1(0.12f * T + p.phase + 450.0f) * p.wobble;
        }
        p.x += (e.force[0] * p.force_weight + p.dir_x * p.speed + wx) * p.scale * dt;
        p.y += (e.force[1] * p.force_weight + p.dir_y * p.speed + wy) * p.scale * dt;
        p.angle += p.spin * dt;
    }
}

}  // namespace Plume
