#include "field/graph_obj.h"

#include "engine/logger.h"
#include "field/animation_cache.h"
#include "field/base_effect.h"
#include "graphics/renderer_keeper.h"

CGraphOBJ::CGraphOBJ(const CGraphStateDesc& desc, float width, float height, CRendererKeeper* keeper)
    : _ren_keeper(keeper) {
    Init(desc, width, height);
}

CGraphOBJ::~CGraphOBJ() { Clear(); }

void CGraphOBJ::Init(const CGraphStateDesc& desc, float width, float height) {
    ASSERT_THROW_IF_FAILED(_ren_keeper);
    Clear();
    _obj.reserve(desc.layers.size());
    for (const CLayerDesc& layer : desc.layers) {
        auto sprite = std::make_unique<C2DObject>();
        const CGraphicsDesc& graphics = layer.graphics;
        const CAnimation* animation =
            graphics.animation_file.empty() ? nullptr : g_AnimationCache->GetAnimation(graphics.animation_file);
        // An animation that cannot be read leaves the layer its still picture.
        if (animation)
            sprite->Init(0, 0, width, height, *animation);
        else
            sprite->InitFromTexRect(0, 0, width, height, graphics.tex_rect);
        sprite->SetRenderer(_ren_keeper->GetRenderer(graphics.texture));
        sprite->SetColor(graphics.color, kAllCorners);
        sprite->SetAlpha(static_cast<int>(graphics.color >> 24), kAllCorners);
        _obj.push_back(std::move(sprite));
    }
    _current_graphics = desc;
}

void CGraphOBJ::Clear() {
    _obj.clear();
    _effect.reset();
}

void CGraphOBJ::SetVisible(bool visible) {
    if (visible) {
        MoveToKeeper(_ren_keeper);
        return;
    }
    for (auto& sprite : _obj) sprite->DetachRenderer();
}

void CGraphOBJ::MoveToKeeper(CRendererKeeper* keeper) {
    for (size_t i = 0; i < _obj.size(); ++i) {
        _obj[i]->DetachRenderer();
        // Attaching leaves the previous batch first, so a sprite is never in two.
        if (keeper) _obj[i]->SetRenderer(keeper->GetRenderer(_current_graphics.layers[i].graphics.texture));
    }
}

void CGraphOBJ::SetPosition(float x, float y) {
    for (size_t i = 0; i < _obj.size(); ++i) {
        const CVector2& offset = _current_graphics.layers[i].offset;
        _obj[i]->SetPosition(x + offset.x, y + offset.y);
    }
}

void CGraphOBJ::SetAngle(float degrees) {
    for (auto& sprite : _obj) sprite->SetAngle(degrees);
}

void CGraphOBJ::SetSize(float width, float height) {
    for (auto& sprite : _obj) sprite->SetSize(width, height);
}

void CGraphOBJ::Inflate(float dw, float dh) {
    for (auto& sprite : _obj) sprite->Inflate(dw, dh);
}

void CGraphOBJ::SetAnimationRunning(bool running) {
    for (auto& sprite : _obj) {
        if (running)
            sprite->StartAnimation();
        else
            sprite->StopAnimation();
    }
}

void CGraphOBJ::SetAlpha(int alpha, int layer) {
    if (layer == -1) {
        for (auto& sprite : _obj) sprite->SetAlpha(alpha, kAllCorners);
    } else if (C2DObject* sprite = GetSprite(layer)) {
        sprite->SetAlpha(alpha, kAllCorners);
    }
}

C2DObject* CGraphOBJ::GetSprite(int layer) const {
    return layer >= 0 && static_cast<size_t>(layer) < _obj.size() ? _obj[static_cast<size_t>(layer)].get() : nullptr;
}

float CGraphOBJ::Query(int layer, float (ATexturedRect::*get)() const) const {
    const C2DObject* sprite = GetSprite(layer);
    return sprite ? (sprite->*get)() : 0;
}

float CGraphOBJ::GetLeft(int layer) const { return Query(layer, &ATexturedRect::GetLeft); }
float CGraphOBJ::GetTop(int layer) const { return Query(layer, &ATexturedRect::GetTop); }
float CGraphOBJ::GetWidth(int layer) const { return Query(layer, &ATexturedRect::GetWidth); }
float CGraphOBJ::GetHeight(int layer) const { return Query(layer, &ATexturedRect::GetHeight); }

int CGraphOBJ::GetAlpha(int layer) const {
    const C2DObject* sprite = GetSprite(layer);
    return sprite ? sprite->GetAlpha(0) : 0;
}

bool CGraphOBJ::GetLeftTop(float& x, float& y, int layer) const {
    const C2DObject* sprite = GetSprite(layer);
    if (!sprite) return false;
    x = sprite->GetLeft();
    y = sprite->GetTop();
    return true;
}

void CGraphOBJ::UpdateEffect() {
    if (_effect && !_effect->Update()) _effect.reset();
}
