#include "gui_style.h"

#include <algorithm>
#include <cmath>

namespace assetgen::gui {

void GoldRing(Image& img, float l, float t, float r, float b, float radius, float thickness) {
    const Sdf outer = RoundedBox(l, t, r, b, radius);
    const Sdf inner = RoundedBox(l + thickness, t + thickness, r - thickness, b - thickness,
                                 std::max(radius - thickness, 1.0f));
    const Sdf ring = Subtract(outer, inner);
    // Across the ring: dark rim, bright ridge a third of the way in, mid gold inside.
    const Paint across = [=](float x, float y) {
        const float depth = std::clamp(-outer(x, y) / thickness, 0.0f, 1.0f);
        if (depth < 0.35f) return Mix(GoldDark(), GoldLight(), depth / 0.35f);
        return Mix(GoldLight(), GoldMid(), (depth - 0.35f) / 0.65f);
    };
    FillShape(img, ring, across);
    Bevel(img, ring, 2.0f, 0.35f);
    StrokeShape(img, outer, 1.0f, Outline());
    StrokeShape(img, inner, 1.0f, Rgb(0x20160A, 0.85f));
}

void GlassFill(Image& img, int x, int y, int w, int h, const Rgba& top, const Rgba& bottom, float sheen) {
    for (int j = 0; j < h; ++j) {
        const float v = (static_cast<float>(j) + 0.5f) / static_cast<float>(h);
        Rgba c = Mix(top, bottom, v);
        // The sheen fades out over the upper 45 %.
        if (v < 0.45f) {
            const float s = sheen * (1.0f - v / 0.45f);
            c = Mix(c, Rgba {1, 1, 1, c.a}, s);
        }
        for (int i = 0; i < w; ++i) img.Set(x + i, y + j, c);
    }
}

Image ButtonFace(int w, int h, const Rgba& top, const Rgba& bottom, float glow, bool sunken) {
    Image img(w, h);
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    const float radius = std::min(fh / 2.0f - 1.0f, 10.0f);
    const Sdf body = RoundedBox(1.0f, 1.0f, fw - 1.0f, fh - 1.0f, radius);
    const Sdf glass = RoundedBox(4.0f, 4.0f, fw - 4.0f, fh - 4.0f, std::max(radius - 3.0f, 1.0f));
    GoldRing(img, 1.0f, 1.0f, fw - 1.0f, fh - 1.0f, radius, 4.0f);
    FillShape(img, glass, LinearGradient(0, 4, top, 0, fh - 4, bottom));
    // The sheen: a lighter band over the upper half of the glass.
    const Sdf band = Intersect(glass, Box(0, 0, fw, fh * 0.48f));
    FillShape(img, band, LinearGradient(0, 4, Rgba {1, 1, 1, sunken ? 0.08f : 0.32f}, 0, fh * 0.48f,
                                        Rgba {1, 1, 1, 0.04f}));
    if (glow > 0) {
        const Paint warm = [=](float x, float y) {
            const float d = -glass(x, y);
            const float a = glow * std::clamp(1.0f - d / 7.0f, 0.0f, 1.0f);
            return Rgba {1.0f, 0.86f, 0.45f, a};
        };
        FillShape(img, glass, warm);
    }
    if (sunken) {
        const Paint shade = [=](float, float y) {
            return Rgba {0.02f, 0.02f, 0.06f, 0.45f * std::clamp(1.0f - (y - 4.0f) / 8.0f, 0.0f, 1.0f)};
        };
        FillShape(img, glass, shade);
    }
    StrokeShape(img, body, 1.0f, Outline());
    return img;
}

Image ArrowButton(int size, float degrees, bool lit) {
    Image img(size, size);
    const float s = static_cast<float>(size), c = s / 2.0f;
    const Sdf disc = Circle(c, c, c - 1.0f);
    const Sdf glass = Circle(c, c, c - 4.0f);
    FillShape(img, disc, GoldMid());
    const Paint across = [=](float x, float y) {
        const float depth = std::clamp(-disc(x, y) / 3.0f, 0.0f, 1.0f);
        return Mix(GoldDark(), GoldLight(), depth);
    };
    FillShape(img, disc, across);
    FillShape(img, glass, lit ? SphereShade(c, c, c - 4.0f, Rgb(0x6FB2F0), 0.55f, 0.5f)
                              : SphereShade(c, c, c - 4.0f, Rgb(0x2D5FA8), 0.45f, 0.4f));
    // The arrow head, drawn pointing right and turned.
    const float k = s / 24.0f;
    const Sdf head = Rotate(Polygon({{c - 3.5f * k, c - 5.5f * k}, {c + 5.0f * k, c}, {c - 3.5f * k, c + 5.5f * k}}),
                            c, c, degrees);
    FillShape(img, head, lit ? Rgb(0xFFF4C8) : Rgb(0xF0F0F0));
    StrokeShape(img, head, 1.0f, Rgb(0x101830, 0.8f));
    StrokeShape(img, disc, 1.0f, Outline());
    return img;
}

}  // namespace assetgen::gui
