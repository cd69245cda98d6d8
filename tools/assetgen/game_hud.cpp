// The game scene's heads-up art: the panel behind the score, lives and tools
// (Textures\Game\hud_panel.png), the tool icons, their blink glows and dim
// slot pictures (tools.png), the rings that announce a charged tool
// (rings.png), the charge bar skin (tool_bar.png), the life indicator's
// normal, add-life and danger animations (life_*.png with their .xml) and its
// empty heart for no life left (life_empty.png). The
// loading picture and the plain square of Textures\Common are drawn by the
// dialogs' and the skins' generators.
// Settings\Dialogs.xml ("GameDialog"), Settings\Bases\Common.xml and
// Settings\controls.xml name these rectangles; change them together.
#include <algorithm>
#include <cmath>
#include <string>

#include "generator_registry.h"
#include "gui_style.h"
#include "image_writer.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

using namespace assetgen::gui;

constexpr float kPi = 3.14159265f;

// A recessed well in the panel: darker glass sunk below the surface.
void Well(Image& img, float l, float t, float r, float b) {
    const Sdf well = RoundedBox(l, t, r, b, 10.0f);
    FillShape(img, well, LinearGradient(0, t, Rgb(0x081030, 0.92f), 0, b, Rgb(0x1C2C60, 0.92f)));
    const Paint shade = [=](float, float y) {
        return Rgba {0.0f, 0.0f, 0.04f, 0.55f * Clamp01(1.0f - (y - t) / 9.0f)};
    };
    FillShape(img, well, shade);
    StrokeShape(img, Offset(well, 0.5f), 1.5f, Rgb(0xC89B45, 0.85f));
}

// hud_panel.png, 260x600: gold-rimmed glass with wells for the score (20,16
// 240,80), the episode and level (20,90 240,162), the lives (20,172 240,268),
// three tool slots (16,284 + 80 i, 80 high) and the menu button (40,546).
Image HudPanel() {
    Image img(260, 600);
    const Sdf body = RoundedBox(1, 1, 259, 599, 18);
    FillShape(img, body, LinearGradient(0, 0, GlassTop(), 0, 600, GlassBottom()));
    // A faint diagonal sheen over the upper part.
    const Paint sheen = [](float x, float y) {
        const float d = (x * 0.4f + y) / 260.0f;
        return Rgba {1, 1, 1, 0.10f * Clamp01(1.0f - d)};
    };
    FillShape(img, body, sheen);
    GoldRing(img, 1, 1, 259, 599, 18, 9);
    Well(img, 20, 16, 240, 80);
    Well(img, 20, 90, 240, 162);
    Well(img, 20, 172, 240, 268);
    for (int i = 0; i < 3; ++i) {
        const float t = 284.0f + 80.0f * static_cast<float>(i);
        Well(img, 16, t, 244, t + 72);
        // The round seat of the tool's icon.
        const Sdf seat = Circle(52, t + 36, 31);
        FillShape(img, seat, RadialGradient(52, t + 36, 31, Rgb(0x2A3E80, 0.95f), Rgb(0x0A1236, 0.95f)));
        StrokeShape(img, seat, 2.0f, GoldMid());
    }
    // Small gold studs between the sections.
    for (float y : {85.0f, 167.0f, 277.0f, 530.0f}) {
        for (float x : {40.0f, 220.0f}) {
            const Sdf stud = Circle(x, y, 3.5f);
            FillShape(img, stud, SphereShade(x, y, 3.5f, GoldMid(), 0.5f, 0.7f));
        }
    }
    return img;
}

Image Hammer(int size) {
    Image img(size, size);
    const float k = static_cast<float>(size) / 64.0f;
    const Sdf handle = Capsule(20 * k, 52 * k, 40 * k, 24 * k, 3.6f * k);
    FillShape(img, handle, LinearGradient(16 * k, 20 * k, Rgb(0xC8874A), 44 * k, 56 * k, Rgb(0x6A3A18)));
    Bevel(img, handle, 1.5f * k, 0.4f);
    StrokeShape(img, handle, 1.0f, Outline());
    const Sdf head = Rotate(RoundedBox(26 * k, 9 * k, 58 * k, 25 * k, 3.0f * k), 42 * k, 17 * k, 35.0f);
    FillShape(img, head, LinearGradient(26 * k, 6 * k, Rgb(0xE8EEF4), 58 * k, 30 * k, Rgb(0x68788C)));
    Bevel(img, head, 2.5f * k, 0.5f);
    StrokeShape(img, head, 1.0f, Outline());
    DropShadow(img, 2, 3, 2, Rgb(0x000000, 0.5f));
    return img;
}

Image Egg(int size) {
    Image img(size, size);
    const float k = static_cast<float>(size) / 64.0f;
    const float cx = 32 * k, cy = 34 * k;
    // Wider below than above.
    const Sdf egg = [=](float x, float y) {
        const float ry = y < cy ? 22.0f * k : 18.0f * k;
        return Ellipse(cx, cy, 17.0f * k, ry)(x, y);
    };
    FillShape(img, egg, SphereShade(cx - 2 * k, cy - 4 * k, 22 * k, Rgb(0xF4E6C4), 0.5f, 0.55f));
    // Speckles.
    for (int i = 0; i < 9; ++i) {
        const float a = static_cast<float>(i) * 2.4f;
        const float r = (6.0f + static_cast<float>(i % 3) * 4.5f) * k;
        const Sdf dot = Intersect(Circle(cx + std::cos(a) * r, cy + std::sin(a) * r * 1.1f, (1.2f + (i % 2)) * k), egg);
        FillShape(img, dot, Rgb(0x9C7A48, 0.7f));
    }
    StrokeShape(img, egg, 1.0f, Outline());
    DropShadow(img, 2, 3, 2, Rgb(0x000000, 0.5f));
    return img;
}

Image Feather(int size) {
    Image img(size, size);
    const float k = static_cast<float>(size) / 64.0f;
    // A vane along a curved quill from the lower left to the upper right.
    const Sdf vane = Rotate(Ellipse(34 * k, 30 * k, 11 * k, 25 * k), 32 * k, 32 * k, 40.0f);
    const Paint blue = [=](float x, float y) {
        const float t = Clamp01((x - y + 40 * k) / (80 * k));
        return Mix(Rgb(0x2C7FD0), Rgb(0x9EE8FF), t);
    };
    FillShape(img, vane, blue);
    // Barbs: thin darker strokes across the vane.
    for (int i = 0; i < 9; ++i) {
        const float t = static_cast<float>(i) / 8.0f;
        const float bx = (18 + 30 * t) * k, by = (50 - 36 * t) * k;
        const Sdf barb = Intersect(Capsule(bx, by, bx + 9 * k, by + 2 * k, 0.5f * k), vane);
        FillShape(img, barb, Rgb(0x1A4C8C, 0.6f));
        const Sdf barb2 = Intersect(Capsule(bx, by, bx - 2 * k, by - 9 * k, 0.5f * k), vane);
        FillShape(img, barb2, Rgb(0x1A4C8C, 0.6f));
    }
    Bevel(img, vane, 2.0f * k, 0.3f);
    const Sdf quill = Capsule(12 * k, 56 * k, 52 * k, 8 * k, 1.3f * k);
    FillShape(img, quill, Rgb(0xF4F0E0));
    StrokeShape(img, vane, 1.0f, Outline());
    DropShadow(img, 2, 3, 2, Rgb(0x000000, 0.5f));
    return img;
}

// The blink of an available tool: a warm halo with a four-pointed sparkle.
Image Glow(int size, const Rgba& color) {
    Image img(size, size);
    const float c = static_cast<float>(size) / 2.0f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = (x + 0.5f - c) / c, dy = (y + 0.5f - c) / c;
            const float d = std::hypot(dx, dy);
            const float halo = std::pow(Clamp01(1.0f - d), 1.4f);
            const float rays = (std::exp(-std::pow(dx * 14.0f, 2.0f)) + std::exp(-std::pow(dy * 14.0f, 2.0f))) *
                               Clamp01(1.0f - d);
            const float a = Clamp01(halo * 0.85f + rays * 0.9f);
            // White at the heart, the tool's colour outside.
            const Rgba tint = Mix(color, Rgba {1, 1, 1, 1}, Clamp01(1.0f - d * 2.5f) + rays * 0.5f);
            img.At(x, y) = Rgba {tint.r, tint.g, tint.b, a};
        }
    return img;
}

// The tool as a dim, cool silhouette: what an empty slot shows.
Image Dim(const Image& icon) {
    Image img(icon.Width(), icon.Height());
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < icon.Width(); ++x) {
            const Rgba& c = icon.At(x, y);
            const float l = 0.3f * c.r + 0.5f * c.g + 0.2f * c.b;
            img.At(x, y) = Rgba {l * 0.45f + 0.1f, l * 0.5f + 0.12f, l * 0.6f + 0.2f, c.a * 0.55f};
        }
    return img;
}

// tools.png, 256x256: icons 64x64 at (0|64|128, 0) hammer, feather, egg;
// blink glows 64x64 below them at y 64; dim slot pictures at y 128.
Image ToolsAtlas() {
    Image atlas(256, 256);
    const Image icons[3] = {Hammer(64), Feather(64), Egg(64)};
    const Rgba glows[3] = {Rgb(0xFFC860), Rgb(0x90E8FF), Rgb(0xFFF0C0)};
    for (int i = 0; i < 3; ++i) {
        atlas.Draw(icons[i], 64 * i, 0);
        atlas.Draw(Glow(64, glows[i]), 64 * i, 64);
        atlas.Draw(Dim(icons[i]), 64 * i, 128);
    }
    return atlas;
}

// rings.png, 384x128: one 128x128 ring per tool (hammer, feather, egg):
// a bright band with sparkles, drawn large and scaled down as it grows.
Image RingsAtlas() {
    Image atlas(384, 128);
    const Rgba colors[3] = {Rgb(0xFFB040), Rgb(0x70D8FF), Rgb(0xFFE8A0)};
    for (int i = 0; i < 3; ++i) {
        Image ring(128, 128);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const float dx = x + 0.5f - 64.0f, dy = y + 0.5f - 64.0f;
                const float r = std::hypot(dx, dy);
                const float band = std::exp(-std::pow((r - 54.0f) / 5.0f, 2.0f));
                const float angle = std::atan2(dy, dx);
                // Eight brighter arcs make the turning visible.
                const float arcs = 0.6f + 0.4f * std::pow(std::cos(angle * 4.0f), 2.0f);
                const float a = Clamp01(band * arcs);
                const Rgba c = Mix(colors[i], Rgba {1, 1, 1, 1}, band * 0.5f);
                ring.At(x, y) = Rgba {c.r, c.g, c.b, a};
            }
        for (int s = 0; s < 8; ++s) {
            const float a = static_cast<float>(s) * kPi / 4.0f + 0.39f;
            const float sx = 64 + std::cos(a) * 54, sy = 64 + std::sin(a) * 54;
            const Sdf star = Union(Capsule(sx - 7, sy, sx + 7, sy, 0.9f), Capsule(sx, sy - 7, sx, sy + 7, 0.9f));
            FillShape(ring, star, Rgba {1, 1, 1, 0.95f});
        }
        atlas.Draw(ring, 128 * i, 0);
    }
    return atlas;
}

// tool_bar.png, 64x64: the charge bar's frame 24x20 at (0,0) (corners 8x6,
// border pieces 4 long), its glass 8x20 at (24,0), and the fill 56x8 at (0,32).
Image ToolBarAtlas() {
    Image atlas(64, 64);
    Image frame(24, 20);
    GoldRing(frame, 0.5f, 0.5f, 23.5f, 19.5f, 6.0f, 3.0f);
    atlas.Draw(frame, 0, 0);
    GlassFill(atlas, 24, 0, 8, 20, Rgb(0x0A1030, 0.9f), Rgb(0x1C2A5C, 0.9f), 0.1f);
    const Sdf fill = RoundedBox(0.5f, 32.5f, 55.5f, 39.5f, 3.0f);
    FillShape(atlas, fill, LinearGradient(0, 32, Rgb(0xFFFFFF), 0, 40, Rgb(0xA8A8A8)));
    return atlas;
}

Image Heart(int size, float scale, const Rgba& base, float aura, const Rgba& aura_color) {
    Image img(size, size);
    const float c = static_cast<float>(size) / 2.0f;
    const float k = scale * static_cast<float>(size) / 72.0f;
    if (aura > 0) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const float d = std::hypot(x + 0.5f - c, y + 0.5f - c) / c;
                img.At(x, y) = Rgba {aura_color.r, aura_color.g, aura_color.b, aura * Clamp01(1.0f - d) * 0.8f};
            }
    }
    const Sdf lobes = Union(Circle(c - 11 * k, c - 7 * k, 13 * k), Circle(c + 11 * k, c - 7 * k, 13 * k));
    const Sdf point = Polygon({{c - 23.5f * k, c - 2 * k}, {c + 23.5f * k, c - 2 * k}, {c, c + 25 * k}});
    const Sdf heart = Union(lobes, point);
    Image body(size, size);
    FillShape(body, heart, SphereShade(c - 6 * k, c - 8 * k, 30 * k, base, 0.45f, 0.55f));
    Bevel(body, heart, 2.0f, 0.3f);
    StrokeShape(body, heart, 1.5f, Outline());
    DropShadow(body, 2, 3, 2, Rgb(0x000000, 0.5f));
    img.Draw(body, 0, 0);
    return img;
}

void LifeAnimations(const std::string& data_dir) {
    constexpr int kSize = 72;
    // Normal: a slow heartbeat, looping.
    SpriteSheet normal(kSize, kSize, 4);
    for (int f = 0; f < 8; ++f) {
        const float beat = std::pow(std::sin(static_cast<float>(f) / 8.0f * kPi), 4.0f);
        normal.Add(Heart(kSize, 0.92f + 0.08f * beat, Rgb(0xE8384C), 0.0f, {}));
    }
    AnimationOptions loop;
    loop.speed = 6;
    normal.Write(data_dir, "Textures\\Game\\life_normal.png", "Textures\\Game\\life_normal.xml", loop);

    // Add life: a golden burst that swells and fades over the heart, once.
    SpriteSheet add(kSize, kSize, 4);
    for (int f = 0; f < 8; ++f) {
        const float t = static_cast<float>(f) / 7.0f;
        Image img(kSize, kSize);
        const float c = kSize / 2.0f;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const float r = std::hypot(x + 0.5f - c, y + 0.5f - c);
                const float ring = std::exp(-std::pow((r - (8.0f + 26.0f * t)) / 4.0f, 2.0f));
                const float core = Clamp01(1.0f - r / (20.0f + 10.0f * t)) * (1.0f - t);
                img.At(x, y) = Rgba {1.0f, 0.9f, 0.5f, Clamp01((ring * 0.9f + core * 0.6f) * (1.0f - t * 0.6f))};
            }
        for (int s = 0; s < 6; ++s) {
            const float a = static_cast<float>(s) * kPi / 3.0f + t;
            const float rr = 10.0f + 24.0f * t;
            const float sx = c + std::cos(a) * rr, sy = c + std::sin(a) * rr;
            const float arm = 5.0f * (1.0f - t) + 1.0f;
            const Sdf star = Union(Capsule(sx - arm, sy, sx + arm, sy, 0.8f), Capsule(sx, sy - arm, sx, sy + arm, 0.8f));
            FillShape(img, star, Rgba {1, 1, 1, 1.0f - t * 0.7f});
        }
        add.Add(img);
    }
    AnimationOptions once;
    once.speed = 3;
    once.animate_once = true;
    add.Write(data_dir, "Textures\\Game\\life_add.png", "Textures\\Game\\life_add.xml", once);

    // Danger: the heart beats fast in red alarm light, twice, then ends.
    SpriteSheet danger(kSize, kSize, 4);
    for (int f = 0; f < 12; ++f) {
        const float beat = std::pow(std::sin(static_cast<float>(f) / 6.0f * kPi), 2.0f);
        danger.Add(Heart(kSize, 0.9f + 0.12f * beat, Mix(Rgb(0xB01828), Rgb(0xFF5040), beat), 0.3f + 0.7f * beat,
                         Rgb(0xFF2020)));
    }
    AnimationOptions alarm;
    alarm.speed = 3;
    alarm.animate_once = true;
    danger.Write(data_dir, "Textures\\Game\\life_danger.png", "Textures\\Game\\life_danger.xml", alarm);

    // Empty: no life left, the heart's outline around dark glass.
    WritePng(DataPath(data_dir, "Textures\\Game\\life_empty.png"),
             Heart(kSize, 0.92f, Rgb(0x202838, 0.75f), 0.0f, {}));
}

void Generate(const std::string& data_dir) {
    WritePng(DataPath(data_dir, "Textures\\Game\\hud_panel.png"), HudPanel());
    WritePng(DataPath(data_dir, "Textures\\Game\\tools.png"), ToolsAtlas());
    WritePng(DataPath(data_dir, "Textures\\Game\\rings.png"), RingsAtlas());
    WritePng(DataPath(data_dir, "Textures\\Game\\tool_bar.png"), ToolBarAtlas());
    LifeAnimations(data_dir);
}

}  // namespace

ASSET_GENERATOR("game_hud", Generate);

}  // namespace assetgen
