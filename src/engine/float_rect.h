#pragma once
// A rectangle of four floats in screen pixels: left, top, right, bottom.
// Nothing keeps left below right.

class CFloatRect {
public:
    float left = 0, top = 0, right = 0, bottom = 0;

    CFloatRect() = default;
    CFloatRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
    // From any integer rectangle with the same four fields.
    template <typename R>
        requires requires(const R& r) { r.left; r.top; r.right; r.bottom; }
    explicit CFloatRect(const R& r)
        : left(static_cast<float>(r.left)), top(static_cast<float>(r.top)), right(static_cast<float>(r.right)),
          bottom(static_cast<float>(r.bottom)) {}

    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    void Offset(float dx, float dy);
    // Grows by w and h in all, half on each side; returns the result.
    CFloatRect Inflate(float w, float h);
    // Edges belong to the rectangle.
    bool Contains(float x, float y) const;
    // Touching edges intersect.
    bool Intersects(const CFloatRect& other) const;

    bool operator==(const CFloatRect&) const = default;
};
