#include "image.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

Rgba FromArgb(uint32_t argb) {
    return {((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
            ((argb >> 24) & 0xFF) / 255.0f};
}

static uint32_t To8(float v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0f)); }

uint32_t ToArgb(const Rgba& c) { return (To8(c.a) << 24) | (To8(c.r) << 16) | (To8(c.g) << 8) | To8(c.b); }

Rgba Rgb(uint32_t rgb, float alpha) {
    Rgba c = FromArgb(0xFF000000u | rgb);
    c.a = alpha;
    return c;
}

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Shade(const Rgba& c, float amount) {
    const float t = Clamp01(std::fabs(amount));
    const float target = amount > 0 ? 1.0f : 0.0f;
    return {c.r + (target - c.r) * t, c.g + (target - c.g) * t, c.b + (target - c.b) * t, c.a};
}

Image::Image(int width, int height, Rgba fill)
    : _width(std::max(0, width)), _height(std::max(0, height)),
      _pixels(static_cast<size_t>(_width) * _height, fill) {}

void Image::Fill(const Rgba& c) { std::fill(_pixels.begin(), _pixels.end(), c); }

void Image::Blend(int x, int y, const Rgba& c, float coverage) {
    if (!Contains(x, y)) return;
    const float sa = Clamp01(c.a * coverage);
    if (sa <= 0) return;
    Rgba& d = At(x, y);
    const float oa = sa + d.a * (1 - sa);
    if (oa <= 0) {
        d = {};
        return;
    }
    d.r = (c.r * sa + d.r * d.a * (1 - sa)) / oa;
    d.g = (c.g * sa + d.g * d.a * (1 - sa)) / oa;
    d.b = (c.b * sa + d.b * d.a * (1 - sa)) / oa;
    d.a = oa;
}

void Image::Draw(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x) Blend(dx + x, dy + y, src.At(x, y));
}

Image Image::Crop(int x, int y, int w, int h) const {
    Image out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (Contains(x + i, y + j)) out.At(i, j) = At(x + i, y + j);
    return out;
}

std::vector<uint8_t> Image::ToRgba8(bool avoid_color_key) const {
    std::vector<uint8_t> out(_pixels.size() * 4);
    for (size_t i = 0; i < _pixels.size(); ++i) {
        const Rgba& p = _pixels[i];
        uint8_t r = static_cast<uint8_t>(To8(p.r)), g = static_cast<uint8_t>(To8(p.g)),
                b = static_cast<uint8_t>(To8(p.b)), a = static_cast<uint8_t>(To8(p.a));
        if (a == 0) r = g = b = 0;
        if (avoid_color_key && a == 255 && r == 0 && g == 0 && b == 0) b = 1;
        out[i * 4] = r;
        out[i * 4 + 1] = g;
        out[i * 4 + 2] = b;
        out[i * 4 + 3] = a;
    }
    return out;
}

}  // namespace assetgen
