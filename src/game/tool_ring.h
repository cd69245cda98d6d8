#pragma once
// A ring on the heads-up panel that announces a charged tool: it grows from
// a begin size to an end size around a fixed centre while it turns, and is
// drawn only while it grows.
#include <cstdint>
#include <memory>

#include "engine/graphics_desc.h"
#include "engine/vector2.h"
#include "game/point_mover.h"
#include "game/rotator.h"
#include "graphics/object_2d.h"

class CXMLNode;

class CToolRing {
public:
    static constexpr int kMinSize = 1;  // pixels

    // Throws "Assertion failed" (logged) for an invalid node.
    void Load(const CXMLNode& node);
    // Starts a growth unless disabled. A ring that cannot grow (speed 0, or
    // end equal to begin) finishes at once.
    void Start();
    void Restart(float begin, float end, float speed);
    // One step of a running growth.
    void Update();
    // Draws the sprite while the ring grows.
    void Render();

    bool IsRunning() const { return _size_mover.IsActive(); }
    // True once after a growth has ended.
    bool TakeFinished();
    void SetDisabled(bool disabled) { _disabled = disabled ? 1 : 0; }
    bool IsDisabled() const { return _disabled != 0; }
    const C2DObject* GetSprite() const { return _sprite.get(); }

private:
    void Place(const CVector2& size);

    std::unique_ptr<C2DObject> _sprite;
    CPointMover _size_mover;
    CRotator _rotator;
    CGraphicsDesc _graphics;
    CVector2 _centre;
    float _begin = 0;
    float _end = 0;
    float _speed = 0;
    float _start_angle = 0;
    float _rotate_speed = 0;
    uint8_t _disabled = 0;
    uint8_t _finished = 0;
};
