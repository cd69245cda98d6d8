#pragma once
// A plain textured quad: the data and the work behind ITexturedRect. Sprite
// batches own such quads (glyphs, frame pieces); sprites derive from it.
#include "graphics/textured_rect_interface.h"

class ATexturedRect : public ITexturedRect {
public:
    // Dirty bits: what the next UpdateVertices rebuilds.
    static constexpr uint32_t kDirtyGeometry = 1;
    static constexpr uint32_t kDirtyTexCoords = 2;
    static constexpr uint32_t kDirtyColors = 8;
    static constexpr uint32_t kDirtyAll = 255;

    ATexturedRect() = default;
    ~ATexturedRect() override = default;

    void Init(const CFloatRect&, const CAnimation&) override {}
    void SetRects(const CFloatRect& rect, const CFloatRect& tex_rect) override;
    const plat::Vertex* GetVertices() override;
    ITexturedRect* GetLinkedObject() override { return nullptr; }
    void SetColor(uint32_t color, int corner) override;
    uint32_t GetColor(int corner) const override;
    void SetAlpha(int alpha, int corner) override;
    int GetAlpha(int corner) const override;
    void SetRotationCenter(float x, float y) override { _rotation_center = CVector2(x, y); }
    CVector2 GetRotationCenter() const override { return _rotation_center; }
    CPolygon* GetPolygon() override { return nullptr; }
    float GetAngle() const override { return _angle; }
    void SetAngle(float degrees) override;
    void Move(float dx, float dy) override { SetPosition(_rect.left + dx, _rect.top + dy); }
    void SetPosition(float x, float y) override;
    void Inflate(float dw, float dh) override;
    float GetLeft() const override { return _rect.left; }
    float GetTop() const override { return _rect.top; }
    float GetRight() const override { return _rect.right; }
    float GetBottom() const override { return _rect.bottom; }
    float GetWidth() const override { return _rect.right - _rect.left; }
    float GetHeight() const override { return _rect.bottom - _rect.top; }
    float GetZ() const override { return _z; }
    void SetZ(float z) override { _z = z; }
    CAnimation* GetAnimation() override { return nullptr; }
    const CAnimation* GetAnimation() const override { return nullptr; }
    void StopAnimation() override {}
    void StartAnimation() override {}
    bool IsAnimationRunning() const override { return false; }
    void UpdateVertices() override;
    void DrawPolygon(uint32_t) override {}
    bool UpdateAnimation() override { return false; }

    // Told by a batch that is being destroyed while this object is attached
    // to it, so that nothing keeps pointing at it.
    virtual void OnRendererDestroyed(const class CTexturedRectsList*) {}

    // The texture's size in texels; 0 logs and keeps a 1x1 scale.
    void SetTextureSize(float width, float height);
    const CFloatRect& GetRect() const { return _rect; }
    // A plain store of the rectangle (nothing marked dirty).
    void StoreRect(const CFloatRect& rect) { _rect = rect; }
    bool IsLinked() const { return _linked; }
    void SetLinked(bool linked) { _linked = linked; }
    uint32_t GetDirty() const { return _dirty; }

protected:
    // The pivot: the rect's centre moved by the rotation centre.
    CVector2 Pivot() const;
    // Texture coordinates of the four corners from a rectangle in texels.
    void FillTexCoords(const CFloatRect& tex_rect);
    void FillColors();

    plat::Vertex _vertices[4] {};
    CFloatRect _rect;
    CFloatRect _tex_rect;
    CFloatRect _rotated_rect;
    float _inv_tex_height = 1.0f;
    float _inv_tex_width = 1.0f;
    uint32_t _colors[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    CVector2 _rotation_center;
    float _z = 0;
    float _angle = 0;
    bool _linked = false;
    uint32_t _dirty = kDirtyAll;
};
