#pragma once
// The particle effects of the artefacts (landing and completion bursts, the
// trail of a flying fragment): emitters of the effect library started through
// the explosion manager's player and followed by id, so that their owner
// knows when they have ended and draws them where it draws the artefact.
#include <cstdint>
#include <string>
#include <vector>

class CArtefactEmitters {
public:
    // Starts the effect at (x, y); an empty name does nothing, an effect the
    // library lacks is logged and skipped. 0 when nothing started.
    static uint32_t Start(const std::string& name, float x, float y);
    static void Move(uint32_t id, float x, float y);
    static void Stop(uint32_t id);

    // Starts an effect and follows it.
    void Add(const std::string& name, float x, float y);
    // Steps and draws the followed effects.
    void Render();
    // Forgets the effects that have ended.
    void DropFinished();
    // Stops and forgets every followed effect.
    void Clear();
    bool IsEmpty() const { return _ids.empty(); }

private:
    std::vector<uint32_t> _ids;
};
