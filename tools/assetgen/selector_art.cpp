// The episode selector's pictures (Textures\Menu\selector.png, cut by the
// "ArcadeDialog" node of Settings\Dialogs.xml; change both together):
// one 48x48 medallion per episode at (64 * i, 0) in episode order (meadow,
// orchard, marsh, dusk forest, winter night), and the gold arrow that marks
// the selected episode, 44x48 at (0, 64), pointing right.
#include <cmath>

#include "generator_registry.h"
#include "gui_style.h"
#include "image_writer.h"

namespace assetgen {

namespace {

using namespace assetgen::gui;

constexpr float kSize = 48;
constexpr float kCentre = kSize / 2;
constexpr float kRadius = 21;
constexpr float kPi = 3.14159265f;

// The round window every scene is painted into.
Sdf Window() { return Circle(kCentre, kCentre, kRadius - 2); }

// Paints `scene` clipped to the window, then rims it in gold.
Image Medallion(const std::function<void(Image&)>& scene) {
    Image inner(48, 48);
    scene(inner);
    Image clipped(48, 48);
    const Sdf window = Window();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const float d = window(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float coverage = Clamp01(0.5f - d);
            if (coverage > 0) clipped.Blend(x, y, inner.At(x, y), coverage);
        }
    GoldRing(clipped, kCentre - kRadius, kCentre - kRadius, kCentre + kRadius, kCentre + kRadius, kRadius, 3.5f);
    DropShadow(clipped, 1, 2, 1, Rgb(0x000000, 0.5f));
    return clipped;
}

void Sky(Image& img, uint32_t top, uint32_t bottom) {
    FillShape(img, Box(0, 0, 48, 48), LinearGradient(0, 0, Rgb(top), 0, 48, Rgb(bottom)));
}

// The meadow: a sun over two green hills.
Image Meadow() {
    return Medallion([](Image& img) {
        Sky(img, 0x5EA8F0, 0xCDE8FF);
        FillShape(img, Circle(32, 16, 7), RadialGradient(31, 15, 8, Rgb(0xFFF8C0), Rgb(0xFFC830)));
        FillShape(img, Ellipse(12, 44, 26, 16), LinearGradient(0, 28, Rgb(0x7CCB52), 0, 48, Rgb(0x2F7A26)));
        FillShape(img, Ellipse(40, 48, 24, 14), LinearGradient(0, 34, Rgb(0x5DB043), 0, 48, Rgb(0x22601C)));
    });
}

// The orchard: a red apple with its leaf on warm light.
Image Orchard() {
    return Medallion([](Image& img) {
        Sky(img, 0xFFD98A, 0xF3A65A);
        FillShape(img, Union(Circle(20, 28, 11), Circle(28, 28, 11)), SphereShade(24, 27, 14, Rgb(0xD6322A), 0.45f, 0.5f));
        FillShape(img, Capsule(24, 18, 26, 11, 1.2f), Rgb(0x5A3A1A));
        FillShape(img, Rotate(Ellipse(31, 12, 6, 3), 31, 12, -25), Rgb(0x3E9A34));
    });
}

// The marsh: reeds standing in still water under mist.
Image Marsh() {
    return Medallion([](Image& img) {
        Sky(img, 0x9DB7B0, 0xDCE6DC);
        FillShape(img, Box(0, 32, 48, 48), LinearGradient(0, 32, Rgb(0x4F7F86), 0, 48, Rgb(0x284A52)));
        const float stems[][2] = {{14, 12}, {20, 8}, {27, 14}, {33, 10}};
        for (const auto& s : stems) {
            FillShape(img, Capsule(s[0], 36, s[0] + 1, s[1] + 6, 1.0f), Rgb(0x4E6B2A));
            FillShape(img, Ellipse(s[0] + 1, s[1] + 6, 2.2f, 5), Rgb(0x6B4424));
        }
        FillShape(img, Box(0, 24, 48, 27), Rgb(0xFFFFFF, 0.35f));
    });
}

// The dusk forest: dark pines before a sunset.
Image Forest() {
    return Medallion([](Image& img) {
        Sky(img, 0x3B2A5C, 0xF08A4B);
        const float pines[][3] = {{14, 14, 1.0f}, {26, 8, 1.3f}, {37, 16, 0.9f}};
        for (const auto& p : pines) {
            const float x = p[0], top = p[1], s = p[2];
            FillShape(img, Polygon({{x, top}, {x + 9 * s, 44}, {x - 9 * s, 44}}), Rgb(0x14281E));
        }
        FillShape(img, Box(0, 42, 48, 48), Rgb(0x0E1C14));
    });
}

// The winter night: a moon and a snowflake over snow.
Image Winter() {
    return Medallion([](Image& img) {
        Sky(img, 0x0B1838, 0x2D4A86);
        FillShape(img, Subtract(Circle(33, 13, 6), Circle(36, 11, 5)), Rgb(0xF4F0D0));
        for (int i = 0; i < 3; ++i) {
            const float a = kPi * static_cast<float>(i) / 3.0f;
            const float dx = 8 * std::cos(a), dy = 8 * std::sin(a);
            FillShape(img, Capsule(18 - dx, 22 - dy, 18 + dx, 22 + dy, 1.1f), Rgb(0xE8F4FF));
        }
        FillShape(img, Ellipse(24, 50, 34, 12), LinearGradient(0, 38, Rgb(0xFFFFFF), 0, 48, Rgb(0xB8CCE8)));
    });
}

// The marker of the selected episode: a bevelled gold arrow pointing right.
Image Arrow() {
    Image img(44, 48);
    const Sdf head = Polygon({{40, 24}, {16, 6}, {16, 16}, {4, 16}, {4, 32}, {16, 32}, {16, 42}});
    FillShape(img, head, LinearGradient(0, 6, GoldLight(), 0, 42, Rgb(0xC07A1E)));
    Bevel(img, head, 2.5f, 0.45f);
    StrokeShape(img, head, 1.2f, Outline());
    DropShadow(img, 2, 3, 2, Rgb(0x000000, 0.5f));
    return img;
}

void Generate(const std::string& data_dir) {
    Image atlas(320, 112);
    const Image medallions[] = {Meadow(), Orchard(), Marsh(), Forest(), Winter()};
    for (int i = 0; i < 5; ++i) atlas.Draw(medallions[i], 64 * i, 0);
    atlas.Draw(Arrow(), 0, 64);
    WritePng(DataPath(data_dir, "Textures\\Menu\\selector.png"), atlas);
}

}  // namespace

ASSET_GENERATOR("selector_art", Generate);

}  // namespace assetgen
