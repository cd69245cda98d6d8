#include "graphics/particle_emitter.h"

namespace Plume {

std::unique_ptr<CParticleEmitter> CParticleEmitter::Start(float px, float py) const {
    auto copy = std::make_unique<CParticleEmitter>();
    for (int i = 0; i < kCurveCount; ++i) copy->curves[i] = curves[i].Share();
    copy->force[0] = force[0];
    copy->force[1] = force[1];
    copy->types.reserve(types.size());
    for (const CParticleType& t : types) copy->types.push_back(t.Start());
    copy->_name = _name;
    for (int c = 0; c < 4; ++c) copy->color[c] = color[c];
    for (int i = 0; i < kIntCount; ++i) copy->ints[i] = ints[i];
    copy->x = px;
    copy->y = py;
    return copy;
}

void CParticleEmitter::Update(float age, float dt, size_t* budget) {
    _time = age * GetTimeScale();
    for (int i = 0; i < kCurveCount; ++i) _values[i] = curves[i].GetValue(_time);
    for (CParticleType& t : types) t.Update(*this, _time, dt, budget);
}

void CParticleEmitter::Move(const CNoise& noise, float dt) {
    for (CParticleType& t : types) t.Move(*this, noise, _time, dt);
}

int CParticleEmitter::PointCount() const {
    if (ints[kShape] == 0 || ints[kEvenSpacing] == 0) return 1;
    // A damaged count must not flood memory: at most kMaxPoints per direction.
    const int points = ints[kPoints] < 0 ? 0 : (ints[kPoints] > kMaxPoints ? kMaxPoints : ints[kPoints]);
    if (ints[kReverse] == 0 || ints[kBothDirections] == 0) return points;
    return 2 * points;
}

size_t CParticleEmitter::ParticleCount() const {
    size_t n = 0;
    for (const CParticleType& t : types) n += t.ParticleCount();
    return n;
}

}  // namespace Plume
