#pragma once
// The drawable of one ball or tile: one sprite per layer of a graph-type
// state, moved, sized, turned and faded together, with at most one running
// visual effect. It does not draw itself: its sprites are attached to the
// shared batches (one per texture) of the owner's renderer keeper, which the
// owner draws once per frame.
#include <memory>
#include <vector>

#include "field/graph_state_desc.h"
#include "graphics/object_2d.h"

class CRendererKeeper;
class IBaseEffect;

class CGraphOBJ {
public:
    // `keeper` is required and must outlive the object.
    CGraphOBJ(const CGraphStateDesc& desc, float width, float height, CRendererKeeper* keeper);
    ~CGraphOBJ();
    CGraphOBJ(const CGraphOBJ&) = delete;
    CGraphOBJ& operator=(const CGraphOBJ&) = delete;

    // One sprite per layer at (0, 0), every one `width` x `height`, attached
    // to the keeper; without a keeper logs and throws "Assertion failed".
    void Init(const CGraphStateDesc& desc, float width, float height);
    // Frees the sprites and drops the effect.
    void Clear();

    // Attaches (true) every sprite to the keeper's batch of its texture, or
    // detaches it (false) so that it is not drawn.
    void SetVisible(bool visible);
    // Detaches every sprite and attaches it to `keeper`'s batches (none when
    // null); the object's own keeper stays the one it was built with.
    void MoveToKeeper(CRendererKeeper* keeper);

    // Every layer's left/top at (x, y) plus the layer's offset.
    void SetPosition(float x, float y);
    void SetAngle(float degrees);
    // Resized about each sprite's centre.
    void SetSize(float width, float height);
    void Inflate(float dw, float dh);
    void SetAnimationRunning(bool running);
    // Alpha of all four corners; layer -1 means every layer, a layer past the
    // end changes nothing.
    void SetAlpha(int alpha, int layer = -1);

    // One layer's geometry and alpha (vertex 0); 0 for a layer past the end.
    float GetLeft(int layer = 0) const;
    float GetTop(int layer = 0) const;
    float GetWidth(int layer = 0) const;
    float GetHeight(int layer = 0) const;
    int GetAlpha(int layer = 0) const;
    bool GetLeftTop(float& x, float& y, int layer = 0) const;

    // A new effect replaces a running one.
    void SetEffect(std::shared_ptr<IBaseEffect> effect) { _effect = std::move(effect); }
    bool HasEffect() const { return _effect != nullptr; }
    // Steps the effect; one that has run out is dropped (not finished).
    void UpdateEffect();

    size_t GetLayerCount() const { return _obj.size(); }
    const CGraphStateDesc& GetGraphics() const { return _current_graphics; }
    // The sprite of a layer, null past the end.
    C2DObject* GetSprite(int layer) const;

private:
    // A float of one layer's sprite, 0 past the end.
    float Query(int layer, float (ATexturedRect::*get)() const) const;

    CRendererKeeper* _ren_keeper;
    CGraphStateDesc _current_graphics;
    std::vector<std::unique_ptr<C2DObject>> _obj;
    std::shared_ptr<IBaseEffect> _effect;
};
