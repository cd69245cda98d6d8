#pragma once
// A sprite: an animated textured quad made from a graphics description, drawn
// by a batch of its own or by a shared batch of a renderer keeper, with an
// optional drop shadow (a linked child quad 7 pixels right and down). Every
// change that moves, resizes, turns or recolours it marks its batch stale.
#include <memory>
#include <string>

#include "engine/graphics_desc.h"
#include "graphics/textured_rect.h"
#include "graphics/textured_rects_list.h"

class C2DObject : public CTexturedRect {
public:
    C2DObject() = default;
    C2DObject(const C2DObject& other);
    C2DObject& operator=(const C2DObject& other);
    ~C2DObject() override;

    // The usual way to make a sprite: animation (file, or one frame of the
    // description's tex_rect), size, colour and optionally a batch of its own.
    bool Create(float x, float y, const CGraphicsDesc& desc, bool own_renderer);
    // The same with the description's animation already read (SpriteAnimation),
    // for sprites made again and again from one description.
    bool Create(float x, float y, const CGraphicsDesc& desc, const CAnimation& animation, bool own_renderer);
    // The animation a sprite of `desc` shows: the frames of its animation
    // file, or one frame of its tex_rect (also when the file cannot be used,
    // which is logged).
    static CAnimation SpriteAnimation(const CGraphicsDesc& desc);
    using CTexturedRect::Init;
    void Init(float x, float y, float width, float height, const CAnimation& animation);
    void InitFromTexRect(float x, float y, float width, float height, const CFloatRect& tex_rect);

    bool CreateRenderer(const std::string& texture_name);
    bool SetRenderer(CTexturedRectsList* renderer);
    void DetachRenderer();
    void ReleaseRenderer();
    CTexturedRectsList* GetRenderer() const { return Renderer(); }
    void Render();
    bool MakeGrayscale();

    bool CreateShadow();
    void RemoveShadow();
    bool IsLinked() const { return ATexturedRect::IsLinked(); }
    bool HasRenderer() const { return Renderer() != nullptr; }
    bool IsRendererShared() const { return _shared; }
    void SetSize(float width, float height);

    ITexturedRect* GetLinkedObject() override { return _child.get(); }
    void SetColor(uint32_t color, int corner) override;
    void SetAlpha(int alpha, int corner) override;
    void SetAngle(float degrees) override;
    void Move(float dx, float dy) override;
    void SetPosition(float x, float y) override;
    void Inflate(float dw, float dh) override;
    void StopAnimation() override;
    void StartAnimation() override;
    void OnRendererDestroyed(const CTexturedRectsList* renderer) override;

private:
    void MarkStale() {
        if (CTexturedRectsList* renderer = Renderer()) renderer->Invalidate();
    }
    // The batch; null once a shared batch that the sprite left was destroyed.
    CTexturedRectsList* Renderer() const { return _shared && _renderer_life.expired() ? nullptr : _renderer; }

    float _child_offset_x = 7.0f;
    float _child_offset_y = 7.0f;
    bool _shared = false;
    CTexturedRectsList* _renderer = nullptr;
    std::weak_ptr<void> _renderer_life;
    std::unique_ptr<CTexturedRectsList> _own_renderer;
    std::shared_ptr<CTexturedRect> _child;
};
