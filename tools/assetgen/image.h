#pragma once
// An RGBA image of float pixels for the procedural generators: straight
// (non-premultiplied) alpha, each channel 0..1, rows from the top.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// 0xAARRGGBB <-> Rgba.
Rgba FromArgb(uint32_t argb);
uint32_t ToArgb(const Rgba& c);
// Opaque colour from 0xRRGGBB.
Rgba Rgb(uint32_t rgb, float alpha = 1.0f);
Rgba Mix(const Rgba& a, const Rgba& b, float t);
// The colour scaled toward white (amount > 0) or black (amount < 0), alpha kept.
Rgba Shade(const Rgba& c, float amount);
float Clamp01(float v);

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = {});

    int Width() const { return _width; }
    int Height() const { return _height; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < _width && y < _height; }

    Rgba& At(int x, int y) { return _pixels[static_cast<size_t>(y) * _width + x]; }
    const Rgba& At(int x, int y) const { return _pixels[static_cast<size_t>(y) * _width + x]; }
    void Set(int x, int y, const Rgba& c) {
        if (Contains(x, y)) At(x, y) = c;
    }
    void Fill(const Rgba& c);

    // Source-over compositing of `c` onto one pixel, its alpha scaled by
    // `coverage`; pixels outside the image are ignored.
    void Blend(int x, int y, const Rgba& c, float coverage = 1.0f);
    // Composites a whole image with its alpha, its top-left at (dx, dy).
    void Draw(const Image& src, int dx, int dy);
    // A copy of a rectangle (parts outside the image are transparent).
    Image Crop(int x, int y, int w, int h) const;

    // 8-bit RGBA bytes, rows from the top. With `avoid_color_key` an opaque
    // pure black pixel is written as 0xFF000001: the game's loader makes
    // opaque black transparent, so generated art must not contain it.
    std::vector<uint8_t> ToRgba8(bool avoid_color_key = true) const;

private:
    int _width = 0, _height = 0;
    std::vector<Rgba> _pixels;
};

}  // namespace assetgen
