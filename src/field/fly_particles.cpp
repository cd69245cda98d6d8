#include "field/fly_particles.h"

#include <cmath>

#include "graphics/explosion.h"

void CFlyParticles::Add(const std::string& emitter, const CVector2& from, const CVector2& to, int amount) {
    Particle particle;
    particle.position = from;
    particle.target = to;
    particle.amount = amount;
    particle.emitter = explosion::GetExplosionManager()->StartEmitter(emitter, from.x, from.y);
    _particles.push_back(particle);
}

void CFlyParticles::Update() {
    if (_particles.empty()) return;
    explosion::IExplosionManager* manager = explosion::GetExplosionManager();
    size_t kept = 0;
    for (Particle& particle : _particles) {
        const float dx = particle.target.x - particle.position.x;
        const float dy = particle.target.y - particle.position.y;
        const float distance = std::sqrt(dx * dx + dy * dy);
        if (distance <= kStep) {
            manager->SetEmitterPos(particle.emitter, particle.target.x, particle.target.y);
            manager->StopEmitter(particle.emitter);
            _total += particle.amount;
            continue;
        }
        particle.position.x += dx / distance * kStep;
        particle.position.y += dy / distance * kStep;
        manager->SetEmitterPos(particle.emitter, particle.position.x, particle.position.y);
        _particles[kept++] = particle;
    }
    _particles.resize(kept);
}

void CFlyParticles::Render() {
    if (_particles.empty()) return;
    _emitters.clear();
    for (const Particle& particle : _particles) _emitters.push_back(particle.emitter);
    explosion::GetExplosionManager()->RenderEmitters(_emitters);
}

void CFlyParticles::Clear() {
    _total = 0;
    if (!_particles.empty()) {
        explosion::IExplosionManager* manager = explosion::GetExplosionManager();
        for (const Particle& particle : _particles) manager->StopEmitter(particle.emitter);
    }
    _particles.clear();
}
