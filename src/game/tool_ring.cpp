#include "game/tool_ring.h"

#include <algorithm>
#include <stdexcept>

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "field/string_to_point.h"

void CToolRing::Load(const CXMLNode& node) {
    if (!node.IsValid()) {
        CLogger::Instance().Log(3, "Assert failed: '%s', File=%s, Line=%d", "node.IsValid()", __FILE__, __LINE__);
        throw std::runtime_error("Assertion failed");
    }
    _graphics = ParseGraphics(node);
    _centre = StringToPoint(node.GetAttribute("centre", ""));
    _begin = node.GetAttributeFloat("begin", 0.0f);
    _end = node.GetAttributeFloat("end", 0.0f);
    _speed = node.GetAttributeFloat("speed", 0.0f);
    _rotate_speed = node.GetAttributeFloat("rotate_speed", 0.0f);
    _start_angle = 0;
    // The sprite is resized about its centre, which needs a size to start from.
    CGraphicsDesc desc = _graphics;
    if (desc.width <= 0 || desc.height <= 0) desc.width = desc.height = kMinSize;
    _sprite = std::make_unique<C2DObject>();
    _sprite->Create(_centre.x, _centre.y, desc, true);
}

void CToolRing::Start() {
    if (_disabled || !_sprite) return;
    _sprite->SetAngle(_start_angle);
    _rotator.Start(_start_angle, -1.0f, _rotate_speed);
    if (_speed == 0.0f || _end == _begin) {
        // No growth to show: the ring has reached its end size already.
        _size_mover.Stop();
        Place(CVector2(_end, _end));
        _finished = 1;
        return;
    }
    Place(CVector2(_begin, _begin));
    _size_mover.Start(CVector2(_begin, _begin), CVector2(_end, _end), (_end - _begin) / _speed);
    _finished = 0;
}

void CToolRing::Restart(float begin, float end, float speed) {
    _begin = begin;
    _end = end;
    _speed = speed;
    Start();
}

void CToolRing::Update() {
    if (!_size_mover.IsActive() || !_sprite) return;
    _sprite->SetAngle(_rotator.Update());
    Place(_size_mover.Update());
    if (!_size_mover.IsActive()) _finished = 1;
}

void CToolRing::Render() {
    if (_size_mover.IsActive() && _sprite) _sprite->Render();
}

bool CToolRing::TakeFinished() {
    if (!_finished) return false;
    _finished = 0;
    return true;
}

void CToolRing::Place(const CVector2& size) {
    // Never down to nothing: a sprite of size 0 could not grow again.
    const float w = std::max(size.x, static_cast<float>(kMinSize));
    const float h = std::max(size.y, static_cast<float>(kMinSize));
    _sprite->SetSize(w, h);
    _sprite->SetPosition(_centre.x - w / 2.0f, _centre.y - h / 2.0f);
}
