#pragma once
// One particle type of an emitter: how its particles are born (start curves at
// the emitter's time), how they change over their life (curves over the life
// fraction), and how they are drawn (texture, blending, order).
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/particle_color_param.h"
#include "graphics/particle_param.h"

namespace Plume {

class CParticleEmitter;
class CNoise;
struct LibraryTexture;

struct Particle {
    float x, y;
    float off_x, off_y;  // offset from the emitter at birth
    float dir_x, dir_y;
    float phase;
    float angle;
    float speed;
    float size;
    float spin;
    float scale;         // the emitter's scale at birth
    float color_weight;  // the emitter's colour weight at birth
    float wobble;
    float force_weight;
    float visibility;
    float birth;
    float start_speed, start_spin, start_wobble, start_force_weight, start_gravity, start_size, start_visibility;
    float life;
    float color[4];
};

class CParticleType {
public:
    enum Curve {
        kLife, kRate, kVisibility, kSpin, kSpeed, kSize, kGravity, kWobble, kForceWeight,
        kLifeVar, kSizeVar, kRateVar, kSpeedVar, kForceWeightVar, kWobbleVar, kGravityVar,
        kSizeLife, kSpeedLife, kSpinLife, kWobbleLife, kForceWeightLife, kGravityLife, kVisibilityLife,
        kCurveCount
    };
    // The six integers in file order.
    enum Int { kAdditive, kAngleMode, kTypeAngle, kFlipU, kFlipV, kBurst, kIntCount };
    // Batches emitted in one update at most, so that a broken rate curve
    // cannot flood memory.
    static constexpr int kMaxBatchesPerUpdate = 256;
    // Emission rates (batches a second) beyond this are clamped when a
    // library is read; the game's own effects stay far below it.
    static constexpr float kMaxRate = 5000.0f;

    // Shared with the library, so that a running copy outlives a reload.
    std::shared_ptr<const LibraryTexture> texture;
    int32_t ints[kIntCount] = {};
    CParticleColorParam color;
    CParticleParam curves[kCurveCount];
    float attach = 0.0f;
    int32_t draw_order = 0;

    // A copy for a started emitter: curves shared with this one, no particles.
    CParticleType Start() const;

    // Emits new particles for the time step dt and ages all of them at the
    // emitter time T. With a budget, at most that many particles are emitted
    // and the budget shrinks by what was.
    void Update(const CParticleEmitter& emitter, float T, float dt, size_t* budget = nullptr);
    void Age(float T);
    void Move(const CParticleEmitter& emitter, const CNoise& noise, float T, float dt);

    bool IsAdditive() const { return ints[kAdditive] != 0; }
    bool NewestFirst() const { return !IsAdditive() && draw_order != 0; }

    // Oldest first; the newest particle is the last one.
    const std::vector<Particle>& Particles() const { return _particles; }
    size_t ParticleCount() const { return _particles.size(); }

private:
    void EmitOne(const CParticleEmitter& emitter, const float start[kCurveCount], int index, float T);

    // The batches a streaming type emits for dt, drawing the rate's variation
    // and carrying the fraction over to the next step.
    int StreamBatches(float rate, float rate_var, float dt);

    std::vector<Particle> _particles;
    float _carried = 0.0f;
    bool _burst_done = false;
};

}  // namespace Plume
