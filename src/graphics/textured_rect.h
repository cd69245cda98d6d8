#pragma once
// A textured quad with a sprite animation: the current frame supplies the
// texture rectangle and an optional collision polygon; corners are computed
// through rotation and translation matrices.
#include "graphics/animation.h"
#include "graphics/textured_rect_base.h"

class CTexturedRect : public ATexturedRect {
public:
    CTexturedRect() = default;
    ~CTexturedRect() override = default;

    void Init(const CFloatRect& rect, const CAnimation& animation) override;
    // The rectangles come from Init and the animation: ignored here.
    void SetRects(const CFloatRect&, const CFloatRect&) override {}
    void SetRotationCenter(float x, float y) override;
    CPolygon* GetPolygon() override;
    void Inflate(float dw, float dh) override;
    CAnimation* GetAnimation() override { return &_animation; }
    const CAnimation* GetAnimation() const override { return &_animation; }
    void StopAnimation() override { _animation.SetRunning(false); }
    void StartAnimation() override { _animation.SetRunning(true); }
    bool IsAnimationRunning() const override { return _animation.IsRunning(); }
    void UpdateVertices() override;
    void DrawPolygon(uint32_t color) override;
    bool UpdateAnimation() override;

protected:
    plat::Matrix _rotation;
    plat::Matrix _translation;
    plat::Matrix _scaling;
    CAnimation _animation;
};
