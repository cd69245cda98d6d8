#pragma once
// The drawable interface that the rest of the program sees: a quad with a
// colour and alpha per corner, optionally rotated and animated, whose four
// ready vertices a sprite batch copies into its draw call.
#include <cstdint>

#include "engine/float_rect.h"
#include "engine/vector2.h"
#include "platform/render_device.h"

class CAnimation;
class CPolygon;

// A corner index outside 0..3 in the colour and alpha setters means all four.
constexpr int kAllCorners = 4;

class ITexturedRect {
public:
    virtual void Init(const CFloatRect& rect, const CAnimation& animation) = 0;
    virtual void SetRects(const CFloatRect& rect, const CFloatRect& tex_rect) = 0;
    // The four corners (top-left, top-right, bottom-left, bottom-right),
    // rebuilt first when anything changed.
    virtual const plat::Vertex* GetVertices() = 0;
    virtual ITexturedRect* GetLinkedObject() = 0;
    virtual void SetColor(uint32_t color, int corner) = 0;
    virtual uint32_t GetColor(int corner) const = 0;
    virtual void SetAlpha(int alpha, int corner) = 0;
    virtual int GetAlpha(int corner) const = 0;
    virtual void SetRotationCenter(float x, float y) = 0;
    virtual CVector2 GetRotationCenter() const = 0;
    virtual CPolygon* GetPolygon() = 0;
    virtual float GetAngle() const = 0;
    virtual void SetAngle(float degrees) = 0;
    virtual void Move(float dx, float dy) = 0;
    virtual void SetPosition(float x, float y) = 0;
    virtual void Inflate(float dw, float dh) = 0;
    virtual float GetLeft() const = 0;
    virtual float GetTop() const = 0;
    virtual float GetRight() const = 0;
    virtual float GetBottom() const = 0;
    virtual float GetWidth() const = 0;
    virtual float GetHeight() const = 0;
    virtual float GetZ() const = 0;
    virtual void SetZ(float z) = 0;
    virtual CAnimation* GetAnimation() = 0;
    virtual const CAnimation* GetAnimation() const = 0;
    virtual void StopAnimation() = 0;
    virtual void StartAnimation() = 0;
    virtual bool IsAnimationRunning() const = 0;
    virtual void UpdateVertices() = 0;
    // Draws the current frame's collision outline in the given colour (a
    // debugging aid); nothing for quads without polygons.
    virtual void DrawPolygon(uint32_t color) = 0;
    virtual ~ITexturedRect() = default;
    // Steps the animation; true when the frame changed.
    virtual bool UpdateAnimation() = 0;
};
