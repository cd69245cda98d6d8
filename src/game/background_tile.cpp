#include "game/background_tile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <utility>

#include "engine/engine_core.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "game/background.h"
#include "graphics/explosion.h"
#include "graphics/renderer_keeper.h"

BackgroundCatalogue ReadBackgroundCatalogue(const CXMLFile& file) {
    BackgroundCatalogue catalogue;
    const CXMLNodeList groups = file.SelectNodes("//TileBase/Group");
    catalogue.resize(static_cast<size_t>(std::max(0, groups.GetLength())));
    for (int g = 0; g < groups.GetLength(); ++g) {
        const CXMLNodeList objects = groups.GetItem(g).SelectNodes("Object");
        auto& list = catalogue[static_cast<size_t>(g)];
        for (int i = 0; i < objects.GetLength(); ++i) {
            const CXMLNode node = objects.GetItem(i);
            BackgroundObjectDesc object;
            object.graphics = ParseGraphics(node);
            object.angle = node.GetAttributeFloat("angle", 0.0f);
            object.emitter = node.GetAttribute("emitter", "");
            list.push_back(std::move(object));
        }
    }
    return catalogue;
}

CBackgroundTile::~CBackgroundTile() {
    if (_emitter_id != kNoEmitter) explosion::GetExplosionManager()->StopEmitter(static_cast<uint32_t>(_emitter_id));
    if (_sprite) _sprite->DetachRenderer();
    _second.DetachRenderer();
}

bool CBackgroundTile::Init(const BackgroundCatalogue& catalogue, CRendererKeeper& keeper,
                           const CBackgroundLayerDesc& layer, const CBackgroundTileDesc& desc, const CFloatRect& bounds,
                           bool late_start) {
    _desc = desc;
    _speed = layer.speed;
    _bounds = bounds;
    _is_static = layer.is_static;
    _horizontal = layer.horizontal;
    _cycles_left = desc.cycles - 1;
    _active = _finished = 0;

    if (desc.group_id < 0 || static_cast<size_t>(desc.group_id) >= catalogue.size()) {
        CLogger::Instance().Log(2, "ERROR: Background Tile group_id=%d Doesn't exist!", desc.group_id);
        return false;
    }
    const auto& group = catalogue[static_cast<size_t>(desc.group_id)];
    if (desc.id < 0 || static_cast<size_t>(desc.id) >= group.size()) {
        CLogger::Instance().Log(2, "ERROR: Background Tile group_id=%d and id=%d Doesn't exist!", desc.group_id,
                                desc.id);
        return false;
    }
    const BackgroundObjectDesc& object = group[static_cast<size_t>(desc.id)];

    _graphics = object.graphics;
    _angle.Set(object.angle);
    if (desc.width != CBackgroundTileDesc::kKeepSize) _graphics.width = desc.width;
    if (desc.height != CBackgroundTileDesc::kKeepSize) _graphics.height = desc.height;
    if (desc.flip_x) std::swap(_graphics.tex_rect.left, _graphics.tex_rect.right);
    if (desc.flip_y) std::swap(_graphics.tex_rect.top, _graphics.tex_rect.bottom);
    if (desc.angle != CBackgroundTileDesc::kKeepAngle) _angle.Set(desc.angle);
    if (desc.color != CBackgroundTileDesc::kKeepColor) _graphics.color = desc.color;

    const float w = static_cast<float>(_graphics.width);
    const float h = static_cast<float>(_graphics.height);
    const float s = std::max(w, h);
    _x = static_cast<float>(desc.pos_x);
    _y = static_cast<float>(desc.pos_y);
    if (!_is_static) {
        if (_horizontal)
            _x = bounds.right;
        else
            _y = bounds.top - s;
    }

    // Known before a late start activates the tile, so a late emitter starts too.
    _emitter_name = object.emitter;
    _has_emitter = _emitter_name.empty() ? 0 : 1;

    const int64_t frame = g_BackgroundFrame;
    if (!_is_static && late_start && desc.activates_at < frame) {
        const float n = static_cast<float>(std::llabs(frame - desc.activates_at));
        if (_horizontal) {
            _x = bounds.right - n * _speed + s;
            _cycles_left = static_cast<int32_t>(static_cast<float>(_cycles_left) - _x / bounds.Width());
        } else {
            _y = bounds.top + n * _speed - s;
            _cycles_left = static_cast<int32_t>(static_cast<float>(_cycles_left) - _y / bounds.Height());
        }
        Activate();
    }

    if (!_has_emitter) {
        _sprite = std::make_unique<C2DObject>();
        MakeSprite(*_sprite, _x, _y, keeper);
        if (!_is_static && _cycles_left != 0) {
            MakeSprite(_second, _x, _y, keeper);
            ParkSecond();
        }
    }

    if (_is_static) Activate();
    _wrapping = 0;
    _alpha = desc.alpha_max;
    _alpha_step = -std::fabs(desc.alpha_speed);
    return true;
}

void CBackgroundTile::MakeSprite(C2DObject& sprite, float x, float y, CRendererKeeper& keeper) {
    sprite.Create(x, y, _graphics, false);
    sprite.SetRenderer(keeper.GetRenderer(_graphics.texture));
}

void CBackgroundTile::ParkSecond() {
    const float w = static_cast<float>(_graphics.width);
    const float h = static_cast<float>(_graphics.height);
    _second.SetPosition(_bounds.left - w, _bounds.top - h);
}

void CBackgroundTile::Activate() {
    _active = 1;
    if (!_has_emitter || _emitter_id != kNoEmitter) return;
    try {
        _emitter_id = static_cast<int32_t>(explosion::GetExplosionManager()->StartEmitter(_emitter_name, _x, _y));
    } catch (const std::exception& e) {
        // The tile stays without its emitter; the rest of the background goes on.
        CLogger::Instance().Log(2, "Error: Background emitter '%s' not started: %s", _emitter_name.c_str(), e.what());
    }
}

void CBackgroundTile::Finish() {
    _finished = 1;
    if (_has_emitter && _emitter_id != kNoEmitter) {
        explosion::GetExplosionManager()->StopEmitter(static_cast<uint32_t>(_emitter_id));
        _emitter_id = kNoEmitter;
    }
}

void CBackgroundTile::RenderEmitter() {
    if (_emitter_id != kNoEmitter) explosion::GetExplosionManager()->RenderEmitter(static_cast<uint32_t>(_emitter_id));
}

void CBackgroundTile::Update() {
    if (_finished) return;
    if (!_active) {
        if (static_cast<int64_t>(g_BackgroundFrame) < _desc.activates_at) return;
        Activate();
    }
    Move();
    if (!_sprite) return;

    _sprite->SetAngle(_angle.Get());
    if (_wrapping) _second.SetAngle(_angle.Get());
    _angle += _desc.rotate_speed;
    if (_desc.alpha_speed != 0.0f) {
        const int a = static_cast<int>(_alpha);
        _sprite->SetAlpha(a, kAllCorners);
        if (_wrapping) _second.SetAlpha(a, kAllCorners);
        _alpha += _alpha_step;
        if (_alpha < _desc.alpha_min || _alpha > _desc.alpha_max) _alpha_step = -_alpha_step;
    }
}

void CBackgroundTile::Move() {
    if (_is_static) return;
    const float dx = _horizontal ? -_speed : 0.0f;
    const float dy = _horizontal ? 0.0f : _speed;
    if (_has_emitter)
        MoveEmitter(dx, dy);
    else
        MoveSprite(dx, dy);
}

void CBackgroundTile::MoveEmitter(float dx, float dy) {
    _x += dx;
    _y += dy;
    if (_emitter_id == kNoEmitter) return;
    auto* manager = explosion::GetExplosionManager();
    const uint32_t id = static_cast<uint32_t>(_emitter_id);
    manager->MoveEmitter(id, dx, dy);
    float x = 0, y = 0;
    if (!manager->GetEmitterPos(id, &x, &y)) {
        CLogger::Instance().Log(3, "Assert failed: '%s', File=%s, Line=%d", "GetEmitterPos(_emitter_id, x, y)",
                                __FILE__, __LINE__);
        return;
    }
    if (_horizontal ? x < _bounds.left : y > _bounds.bottom) Finish();
}

void CBackgroundTile::MoveSprite(float dx, float dy) {
    _sprite->Move(dx, dy);
    _x = _sprite->GetLeft();
    _y = _sprite->GetTop();
    const float w = static_cast<float>(_graphics.width);
    const float h = static_cast<float>(_graphics.height);
    const float s = std::max(w, h);
    const float edge = _horizontal ? _bounds.left : _bounds.bottom;
    const float p = _horizontal ? _x : _y;
    const bool crossing = _horizontal ? p < edge : p > edge - s;
    if (!crossing) return;

    if (_cycles_left == 0) {
        if (_horizontal ? p < edge - s : p > edge + s) Finish();
        return;
    }
    _wrapping = 1;
    if (_horizontal)
        _second.SetPosition(_sprite->GetRight(), _sprite->GetTop());
    else
        _second.SetPosition(_sprite->GetLeft(), _sprite->GetTop() - _bounds.Height());
    float limit = edge;
    if (_horizontal ? s <= _bounds.Width() : s <= _bounds.Height()) limit = _horizontal ? edge - s : edge + s;
    if (_horizontal ? p <= limit : p >= limit) {
        _sprite->SetPosition(_second.GetLeft(), _second.GetTop());
        _x = _sprite->GetLeft();
        _y = _sprite->GetTop();
        ParkSecond();
        _wrapping = 0;
        --_cycles_left;
    }
}
