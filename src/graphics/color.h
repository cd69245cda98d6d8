#pragma once
// A colour of four floats (nominally 0..1) with arithmetic, packed into the
// 32-bit ARGB colours that quads take.
#include <cstdint>

class CColor {
public:
    float r = 0, g = 0, b = 0, a = 0;

    CColor() = default;
    CColor(float r_, float g_, float b_, float a_) : r(r_), g(g_), b(b_), a(a_) {}
    // Each byte / 255: alpha from bits 24-31, red 16-23, green 8-15, blue 0-7.
    explicit CColor(uint32_t argb);

    CColor& operator+=(const CColor& o);
    CColor& operator-=(const CColor& o);
    CColor& operator*=(float s);

    // Exact comparison of all four components.
    bool operator==(const CColor& o) const = default;

    // Components below 0 become 0, above 1 become 1.
    void Clamp();
    // Each component * 255 truncated toward zero, then a<<24 + r<<16 + g<<8 + b
    // summed as integers: nothing is clamped, so Clamp first.
    uint32_t ToARGB() const;
};

CColor operator+(const CColor& x, const CColor& y);
CColor operator-(const CColor& x, const CColor& y);
CColor operator*(const CColor& x, const CColor& y);
CColor operator/(const CColor& x, const CColor& y);
CColor operator+(const CColor& c, float s);
CColor operator-(const CColor& c, float s);
CColor operator*(const CColor& c, float s);
CColor operator/(const CColor& c, float s);
CColor operator+(float s, const CColor& c);
CColor operator-(float s, const CColor& c);  // s - each component
CColor operator*(float s, const CColor& c);
CColor operator/(float s, const CColor& c);  // s / each component
CColor operator-(const CColor& c);
