#pragma once
// Particle emitters that fly to a target point at a fixed pace, settle there
// and add their amount to a collected total.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/vector2.h"

class CFlyParticles {
public:
    static constexpr float kStep = 8.0f;  // pixels a frame

    struct Particle {
        CVector2 position;
        CVector2 target;
        uint32_t emitter = 0;
        int amount = 0;
    };

    // Starts the named emitter at `from`, flying to `to`.
    void Add(const std::string& emitter, const CVector2& from, const CVector2& to, int amount);
    // Moves every particle one step; one within a step of its target sits on
    // it, adds its amount, stops its emitter and leaves.
    void Update();
    void Render();
    bool IsEmpty() const { return _particles.empty(); }
    // Total 0, every emitter stopped, the list emptied.
    void Clear();

    int GetTotal() const { return _total; }
    const std::vector<Particle>& GetParticles() const { return _particles; }

private:
    std::vector<Particle> _particles;
    std::vector<uint32_t> _emitters;  // scratch list for drawing
    int _total = 0;
};
