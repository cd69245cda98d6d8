#pragma once
// A sprite of its own that blinks: its alpha runs from 0 up to 255 and back
// down, count times, at a fixed speed per update, and ends transparent.
#include <cstdint>
#include <memory>

#include "engine/graphics_desc.h"

class C2DObject;

class CBlinking {
public:
    CBlinking(float x, float y, const CGraphicsDesc& desc, int32_t count, float speed);
    ~CBlinking();

    bool IsActive() const { return _done < _total; }
    void Update();
    // Draws the sprite while the blink runs.
    void Render();

    float GetAlpha() const { return _alpha; }
    int32_t GetDone() const { return _done; }
    const std::shared_ptr<C2DObject>& GetSprite() const { return _sprite; }

private:
    std::shared_ptr<C2DObject> _sprite;
    int32_t _total;
    float _speed;
    int32_t _done = 0;
    float _alpha = 0;
    float _direction = 1.0f;
};
