#include "graphics/color.h"

#include <cmath>
#include <initializer_list>

namespace {

CColor Each(const CColor& x, const CColor& y, float (*op)(float, float)) {
    return CColor(op(x.r, y.r), op(x.g, y.g), op(x.b, y.b), op(x.a, y.a));
}

float Add(float p, float q) { return p + q; }
float Sub(float p, float q) { return p - q; }
float Mul(float p, float q) { return p * q; }
float Div(float p, float q) { return p / q; }

// value * 255 truncated toward zero, as a 32-bit two's complement pattern.
uint32_t Channel(float value) {
    float scaled = std::trunc(value * 255.0f);
    if (!(scaled > -2147483648.0f)) scaled = -2147483648.0f;  // also NaN
    if (scaled > 2147483520.0f) scaled = 2147483520.0f;
    return static_cast<uint32_t>(static_cast<int32_t>(scaled));
}

}  // namespace

CColor::CColor(uint32_t argb)
    : r(static_cast<float>((argb >> 16) & 0xFF) / 255.0f), g(static_cast<float>((argb >> 8) & 0xFF) / 255.0f),
      b(static_cast<float>(argb & 0xFF) / 255.0f), a(static_cast<float>((argb >> 24) & 0xFF) / 255.0f) {}

CColor& CColor::operator+=(const CColor& o) { return *this = Each(*this, o, Add); }
CColor& CColor::operator-=(const CColor& o) { return *this = Each(*this, o, Sub); }
CColor& CColor::operator*=(float s) { return *this = Each(*this, CColor(s, s, s, s), Mul); }

void CColor::Clamp() {
    for (float* c : {&r, &g, &b, &a}) {
        if (*c < 0.0f) *c = 0.0f;
        if (*c > 1.0f) *c = 1.0f;
    }
}

uint32_t CColor::ToARGB() const {
    return (Channel(a) << 24) + (Channel(r) << 16) + (Channel(g) << 8) + Channel(b);
}

CColor operator+(const CColor& x, const CColor& y) { return Each(x, y, Add); }
CColor operator-(const CColor& x, const CColor& y) { return Each(x, y, Sub); }
CColor operator*(const CColor& x, const CColor& y) { return Each(x, y, Mul); }
CColor operator/(const CColor& x, const CColor& y) { return Each(x, y, Div); }
CColor operator+(const CColor& c, float s) { return Each(c, CColor(s, s, s, s), Add); }
CColor operator-(const CColor& c, float s) { return Each(c, CColor(s, s, s, s), Sub); }
CColor operator*(const CColor& c, float s) { return Each(c, CColor(s, s, s, s), Mul); }
CColor operator/(const CColor& c, float s) { return Each(c, CColor(s, s, s, s), Div); }
CColor operator+(float s, const CColor& c) { return Each(CColor(s, s, s, s), c, Add); }
CColor operator-(float s, const CColor& c) { return Each(CColor(s, s, s, s), c, Sub); }
CColor operator*(float s, const CColor& c) { return Each(CColor(s, s, s, s), c, Mul); }
CColor operator/(float s, const CColor& c) { return Each(CColor(s, s, s, s), c, Div); }
CColor operator-(const CColor& c) { return CColor(-c.r, -c.g, -c.b, -c.a); }
