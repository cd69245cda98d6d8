#pragma once
// The particle-effect player: starts copies of library emitters by name at
// screen points, keeps them by id, steps them on its own effect clock and
// draws them. An emitter that has had no particles for 0.2 s of effect clock
// (or that was not drawn for that long) is dropped by itself.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/noncopyable.h"
#include "graphics/particle_emitter.h"

namespace Plume {
class CLibrary;
}

class CPlume : public NonCopyable {
public:
    // Live particles of one player at most: what a frame can draw. Emitters
    // stop emitting while the player holds that many.
    static constexpr size_t kMaxParticles = 16384;

    // Milliseconds of game time (the default), so effects run with the frames
    // the game is handed; tests give their own clock.
    using Clock = std::function<uint32_t()>;

    CPlume();
    explicit CPlume(Clock clock);
    ~CPlume();

    // Reads the program's effect library from disk (never from the data
    // package), creates its textures and fills the noise tables; also readies
    // this player. False, with the reason logged, when anything fails.
    bool LoadLibrary(const std::string& file_name);
    // Readies the player: device, a use of the shared vertex buffer, clock 0.
    bool Init();

    // Starts a copy of the named library emitter at (x, y) and returns its id.
    // An unknown name logs and throws "Plume: Invalid Emitter.".
    uint32_t StartEmitter(const std::string& name, int x, int y);
    // The effect library (loaded, and this player's or the shared one) has
    // an emitter of that name.
    bool HasLibraryEmitter(const std::string& name);
    void SetEmittersPosition(float x, float y);
    void SetEmitterPos(uint32_t id, float x, float y);
    void MoveEmitter(uint32_t id, float dx, float dy);
    bool GetEmitterPos(uint32_t id, float* x, float* y) const;
    bool HasEmitter(uint32_t id) const;
    void StopEmitter(uint32_t id);

    // One step for every emitter when time has passed since the last one (a
    // further call in the same frame only draws); draws all of them, or only
    // the given ids.
    void Render();
    void RenderEmitter(uint32_t id);
    void RenderEmitters(const std::vector<uint32_t>& ids);

    // The library is released at teardown; releasing when there is none logs
    // the failed check and throws "Assertion failed".
    static void ReleaseLibrary();

    float EffectClock() const { return _time; }
    size_t EmitterCount() const { return _emitters.size(); }
    // The running copy behind an id (null when not running), for inspection.
    const Plume::CParticleEmitter* GetEmitter(uint32_t id) const;
    // Quads drawn by the last step.
    size_t LastQuadCount() const { return _last_quads; }

private:
    struct EmitterRecord {
        float x = 0.0f, y = 0.0f;
        float last_alive = 0.0f;
        float start = 0.0f;
        bool stepped = false;  // has taken a step since its start
        std::unique_ptr<Plume::CParticleEmitter> emitter;
    };

    bool TakeVertexBuffer();
    // The library's emitter of that name (null when none), binding the shared
    // library to this player when it has none yet.
    const Plume::CParticleEmitter* FindSource(const std::string& name);
    // Draw all emitters (ids null) or those listed.
    void Step(const uint32_t* ids, size_t count, bool all);
    void Draw(const Plume::CParticleEmitter& emitter);

    float _time = 0.0f;
    uint32_t _last_step = 0;
    std::map<uint32_t, EmitterRecord> _emitters;
    uint32_t _next_id = 0;

    Clock _clock;
    std::shared_ptr<Plume::CLibrary> _library;
    bool _has_vertex_buffer = false;
    size_t _last_quads = 0;
};
