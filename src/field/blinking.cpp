#include "field/blinking.h"

#include "field/countdown.h"
#include "graphics/object_2d.h"

CBlinking::CBlinking(float x, float y, const CGraphicsDesc& desc, int32_t count, float speed)
    : _sprite(std::make_shared<C2DObject>()), _total(2 * count), _speed(speed) {
    _sprite->Create(x, y, desc, true);
    _sprite->SetAlpha(0, kAllCorners);
}

CBlinking::~CBlinking() = default;

void CBlinking::Update() {
    if (!IsActive()) return;
    _alpha += _direction * _speed;
    ClampFloat(_alpha, 0.0f, 255.0f);
    // The clamp puts the alpha exactly on a limit whatever the speed.
    if (_alpha == 0.0f || _alpha == 255.0f) {
        ++_done;
        _direction = -_direction;
    }
    _sprite->SetAlpha(static_cast<int>(_alpha), kAllCorners);
}

void CBlinking::Render() {
    if (IsActive()) _sprite->Render();
}
