#pragma once
// An emitter of the particle-effect library: curves over its own time that
// scale its particle types, a force, a colour and an emission shape. A started
// emitter is a copy of the library's that shares its curves.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/particle_param.h"
#include "graphics/particle_type.h"

namespace Plume {

class CNoise;

class CParticleEmitter {
public:
    enum Curve {
        kLife, kRate, kVisibility, kSpin, kSpeed, kGravity, kScale, kColorWeight, kSize, kWobble,
        kForceWeight, kDirection, kSpread, kShapeAngle, kShapeSize, kCurveCount
    };
    // The five shape integers in file order.
    enum Int { kEvenSpacing, kPoints, kReverse, kBothDirections, kShape, kIntCount };
    // Emission points per direction at most (clamped when a library is read).
    static constexpr int kMaxPoints = 1024;

    CParticleEmitter() = default;
    virtual ~CParticleEmitter() = default;
    CParticleEmitter(const CParticleEmitter&) = delete;
    CParticleEmitter& operator=(const CParticleEmitter&) = delete;

    virtual float GetTimeScale() const { return 50.0f; }

    // A running copy of this library emitter at (x, y).
    std::unique_ptr<CParticleEmitter> Start(float x, float y) const;

    // One step at `age` seconds since the start: curves at T = age x time
    // scale, then emission and ageing of every particle type. With a budget,
    // at most that many particles are emitted and the budget shrinks by what was.
    void Update(float age, float dt, size_t* budget = nullptr);
    void Move(const CNoise& noise, float dt);

    // Emission points of one batch.
    int PointCount() const;
    size_t ParticleCount() const;
    const std::string& Name() const { return *_name; }
    float Value(int curve) const { return _values[curve]; }
    float Time() const { return _time; }

    CParticleParam curves[kCurveCount];
    float force[2] = {0.0f, 0.0f};
    std::vector<CParticleType> types;
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    int32_t ints[kIntCount] = {};
    float x = 0.0f, y = 0.0f;

    void SetName(std::string name) { _name = std::make_shared<const std::string>(std::move(name)); }

private:
    std::shared_ptr<const std::string> _name = std::make_shared<const std::string>();
    float _values[kCurveCount] = {};
    float _time = 0.0f;
};

}  // namespace Plume
