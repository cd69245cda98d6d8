#pragma once
// One ball on the field: its type, its drawable, its state, the motion it uses
// on its way between cells, the ticks it has existed, an optional substrate
// under it (a sprite or a particle effect) and an optional lock over it. The
// balls field creates, places, moves and removes balls.
#include <cstdint>
#include <memory>

#include "engine/noncopyable.h"
#include "field/ball_desc.h"
#include "field/ball_lock.h"
#include "field/ball_physics.h"
#include "field/ball_state.h"

class C2DObject;
class CGraphOBJ;
class CPlume;

class CBall : public CBallPhysics, NonCopyable {
public:
    // Takes the drawable; no state yet (-1), no lock; the substrate rule below.
    CBall(const BallDesc& desc, std::unique_ptr<CGraphOBJ> graph_obj);
    ~CBall() override;

    // Once per balls-field update: the existence time grows unless the game
    // is paused (`count_time` false), the drawable's effect steps, and a
    // moving or swapping ball's speed steps.
    virtual void Update(bool count_time = true);

    int GetState() const { return _state; }
    void SetState(int state) { _state = state; }
    const BallDesc& GetDesc() const { return _desc; }
    // The type before the last ChangeType (all defaults until then).
    const BallDesc& GetPrevDesc() const { return _prev_desc; }
    int GetBonusType() const { return _desc.bonus_type; }
    bool IsBonus() const { return _desc.bonus_type != 0; }
    uint32_t GetExistenceTime() const { return _existence_time; }
    bool GetMark() const { return _mark; }
    void SetMark(bool mark) { _mark = mark; }

    // The drawable runs a visual effect.
    bool IsBusy() const;
    // The operations on the drawable log the failed check and throw
    // "Assertion failed" once it has been released.
    void SetPos(float x, float y);
    void SetAngle(float degrees);
    // Attaches or detaches the drawable's sprites when the visibility changes.
    void SetVisible(bool visible);
    // Alpha of the drawable, the lock and the substrate sprite; a particle
    // substrate shows from 128 up.
    void SetAlpha(int alpha);
    // Takes another type and drawable; the old type becomes the previous one,
    // the existence time restarts; state and motion stay.
    void ChangeType(const BallDesc& desc, std::unique_ptr<CGraphOBJ> graph_obj);
    CGraphOBJ* GetGraphObj() const { return _graph_obj.get(); }
    // Drops the drawable.
    void ReleaseGraph();

    // Nothing for a dying or dead ball.
    void DrawSubstrate();
    // Draws every ball's lock at once (the shared lock keeper): once a frame.
    static void DrawLocks();
    // Replaces the substrate by the table's first one of that id; an unknown
    // id logs the failed check and changes nothing.
    void SetSubstrate(int id);
    // The substrate follows the centre of the drawable's layer 0.
    void UpdateSubstratePos();
    const C2DObject* GetSubstrateSprite() const { return _substrate_sprite.get(); }
    bool HasSubstrateEffect() const { return _substrate_effect != nullptr; }
    bool IsSubstrateEffectVisible() const { return _substrate_effect_visible; }

    // A lock of `level` hits at the drawable's top-left, replacing any other.
    void SetLock(int level);
    bool IsLocked() const { return _lock != nullptr; }
    // The hits the lock still takes; 0 without a lock.
    int GetLockSolidity() const { return _lock ? _lock->GetSolidity() + 1 : 0; }
    const CBallLock* GetLock() const { return _lock.get(); }
    // One hit on the lock (the ball must have one: the failed check throws);
    // true when it broke, and the lock is gone.
    bool HitLock();

    // The shared substrate and lock tables (ball_tables.h).
    static void LoadSubstrates();
    static void LoadLockSolidity();

private:
    CGraphOBJ& Graph() const;
    // A bonus ball takes substrate 0, another ball its own substrate, if any.
    void ApplySubstrateRule();
    void ClearSubstrate();

    std::unique_ptr<C2DObject> _substrate_sprite;
    std::unique_ptr<CPlume> _substrate_effect;
    bool _substrate_effect_visible = false;
    std::unique_ptr<CBallLock> _lock;
    std::unique_ptr<CGraphOBJ> _graph_obj;
    BallDesc _desc;
    BallDesc _prev_desc;
    int _state = -1;
    uint32_t _existence_time = 0;
    bool _mark = false;
    bool _visible = true;
};
