#pragma once
// Named one-shot effects ("explosions") played at screen points by alias: a
// sprite animation that plays once and disappears, or an emitter of the
// particle-effect library. Described in Settings\Explosions.xml. The manager
// also gives the game direct access to its particle player.
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/noncopyable.h"
#include "graphics/animation.h"
#include "graphics/plume.h"

class C2DObject;
class CRendererKeeper;

namespace explosion {

// The id StartEmitter gives when it started nothing; the player never hands
// it out, so moving, drawing or stopping it does nothing.
constexpr uint32_t kNoEmitter = 0xFFFFFFFFu;

class IExplosionManager : NonCopyable {
public:
    virtual ~IExplosionManager() = default;
    // Ends every running sprite explosion.
    virtual void Clear() = 0;
    virtual void StartExplosion(const std::string& alias, float x, float y) = 0;
    // Once a frame: steps and draws the running explosions and retires ended ones.
    virtual void Update() = 0;
    // An emitter the effect library lacks is logged once and gives kNoEmitter.
    virtual uint32_t StartEmitter(const std::string& name, float x, float y) = 0;
    virtual void SetEmitterPos(uint32_t id, float x, float y) = 0;
    virtual void MoveEmitter(uint32_t id, float dx, float dy) = 0;
    virtual bool GetEmitterPos(uint32_t id, float* x, float* y) = 0;
    virtual bool HasEmitter(uint32_t id) = 0;
    virtual void StopEmitter(uint32_t id) = 0;
    virtual void RenderEmitters(const std::vector<uint32_t>& ids) = 0;
    virtual void RenderEmitter(uint32_t id) = 0;
};

// The one manager, created (and its descriptions read) on first use.
IExplosionManager* GetExplosionManager();
// Destroys the manager; the next GetExplosionManager makes a fresh one.
void ReleaseExplosionManager();
// Puts `manager` in place of the current one (tests record what is played).
void SetExplosionManager(std::unique_ptr<IExplosionManager> manager);

}  // namespace explosion

class CExplosion : public explosion::IExplosionManager {
public:
    struct Description {
        std::string alias;
        CGraphicsDesc graphics;
        bool is_plume = false;
        bool original = false;
        CAnimation animation;  // sprite explosions: plays once
    };

    // Reads the descriptions from `file_name`; the player runs on `clock`
    // (the multimedia timer when empty).
    explicit CExplosion(const std::string& file_name = "Settings\\Explosions.xml", CPlume::Clock clock = {});
    ~CExplosion() override;

    void Clear() override;
    void StartExplosion(const std::string& alias, float x, float y) override;
    void Update() override;
    uint32_t StartEmitter(const std::string& name, float x, float y) override;
    void SetEmitterPos(uint32_t id, float x, float y) override;
    void MoveEmitter(uint32_t id, float dx, float dy) override;
    bool GetEmitterPos(uint32_t id, float* x, float* y) override;
    bool HasEmitter(uint32_t id) override;
    void StopEmitter(uint32_t id) override;
    void RenderEmitters(const std::vector<uint32_t>& ids) override;
    void RenderEmitter(uint32_t id) override;

    const Description* FindDescription(const std::string& alias) const;
    const std::list<std::unique_ptr<C2DObject>>& RunningSprites() const { return _sprites; }
    const std::vector<uint32_t>& RunningEmitters() const { return _emitter_ids; }
    CPlume& Player() { return *_plume; }

private:
    void Load(const std::string& file_name);

    std::shared_ptr<CPlume> _plume;
    std::unique_ptr<CRendererKeeper> _keeper;
    std::map<std::string, Description> _descriptions;
    std::list<std::unique_ptr<C2DObject>> _sprites;
    std::vector<uint32_t> _emitter_ids;
    // The emitter names already reported missing.
    std::set<std::string> _missing_emitters;
};
