#include "artefact_designs.h"

#include <algorithm>
#include <cmath>

#include "gui_style.h"

namespace assetgen::artefact {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kMid = kWidth / 2.0f;

// ---------------------------------------------------------------- materials

struct Material {
    Rgba light, base, dark;
};

Material Gold() { return {gui::GoldLight(), gui::GoldMid(), gui::GoldDark()}; }
Material IceSilver() { return {Rgb(0xF4FBFF), Rgb(0x98C2E6), Rgb(0x2E5078)}; }
Material Bronze() { return {Rgb(0xF2CA7C), Rgb(0xB0803E), Rgb(0x563816)}; }
Material Iron() { return {Rgb(0x8A7C6A), Rgb(0x4A3E32), Rgb(0x1E1812)}; }

// Light from the upper left across the shape's bounds `span` pixels wide.
Paint Lit(const Material& m, float x0, float y0, float span) {
    return [=](float x, float y) {
        const float t = Clamp01(((x - x0) + (y - y0)) / (2.0f * span));
        return t < 0.4f ? Mix(m.light, m.base, t / 0.4f) : Mix(m.base, m.dark, (t - 0.4f) / 0.6f);
    };
}

// A metal part: lit fill, a bevelled edge and a dark outline.
void Metal(Image& img, const Sdf& shape, const Material& m, float x0, float y0, float span, float bevel = 2.5f) {
    FillShape(img, shape, Lit(m, x0, y0, span));
    Bevel(img, shape, bevel, 0.45f);
    StrokeShape(img, shape, 1.2f, gui::Outline());
}

// A cut stone: a shaded sphere with a dark rim and a sparkle.
void Gem(Image& img, float cx, float cy, float r, uint32_t rgb) {
    const Sdf stone = Circle(cx, cy, r);
    FillShape(img, stone, SphereShade(cx, cy, r, Rgb(rgb), 0.4f, 0.8f));
    StrokeShape(img, stone, 1.0f, Shade(Rgb(rgb), -0.7f));
    const float s = r * 0.35f;
    FillShape(img, Circle(cx - s, cy - s, std::max(r * 0.18f, 0.9f)), Rgba {1, 1, 1, 0.9f});
}

// A pearl or a bead of one colour.
void Bead(Image& img, float cx, float cy, float r, uint32_t rgb) {
    const Sdf bead = Circle(cx, cy, r);
    FillShape(img, bead, SphereShade(cx, cy, r, Rgb(rgb), 0.5f, 0.7f));
    StrokeShape(img, bead, 0.8f, Rgb(0x1A1206, 0.7f));
}

Sdf Ring(float cx, float cy, float outer, float inner) { return Subtract(Circle(cx, cy, outer), Circle(cx, cy, inner)); }

// Union with a rounded crease of about `k` pixels.
Sdf SmoothUnion(Sdf a, Sdf b, float k) {
    return [=](float x, float y) {
        const float da = a(x, y), db = b(x, y);
        const float h = Clamp01(0.5f + 0.5f * (db - da) / k);
        return db + (da - db) * h - k * h * (1.0f - h);
    };
}

// A pointed leaf or petal between two circles, from (x, y0) to (x, y1) pointing up.
Sdf Petal(float x, float y0, float y1, float width) {
    const float half = (y1 - y0) / 2.0f;
    const float r = (half * half + width * width / 4.0f) / width;
    const float cy = (y0 + y1) / 2.0f;
    return Intersect(Circle(x - (r - width / 2.0f), cy, r), Circle(x + (r - width / 2.0f), cy, r));
}

void Shadow(Image& img) { DropShadow(img, 2, 3, 2, Rgb(0x000000, 0.45f)); }

// ---------------------------------------------------------------- 1: amulet

Image Amulet() {
    Image img(kWidth, kHeight);
    const Material gold = Gold();
    // The loop it hangs from and the knot that holds it.
    Metal(img, Ring(kMid, 24, 17, 10), gold, 55, 7, 34);
    Metal(img, RoundedBox(64, 38, 80, 60, 4), gold, 64, 38, 20);
    Bead(img, kMid, 47, 4.5f, 0xF4E6C8);

    // The medallion: a gold disc, a green enamel field, a gold flower on it.
    const float cx = kMid, cy = 120;
    Metal(img, Circle(cx, cy, 64), gold, 8, 56, 128, 3.5f);
    const Sdf enamel = Circle(cx, cy, 51);
    FillShape(img, enamel, RadialGradient(cx - 12, cy - 14, 64, Rgb(0x6CD27A), Rgb(0x0E4A2C)));
    Bevel(img, enamel, 4.0f, -0.4f);
    StrokeShape(img, enamel, 1.5f, gui::Outline());
    StrokeShape(img, Circle(cx, cy, 38), 1.6f, gui::GoldMid());
    for (int i = 0; i < 4; ++i) {
        const float turn = 45.0f + 90.0f * static_cast<float>(i);
        const Sdf leaf = Rotate(Petal(cx, cy - 48, cy - 20, 14), cx, cy, turn);
        FillShape(img, leaf, LinearGradient(cx - 20, cy - 40, Rgb(0xB6F08A), cx + 20, cy, Rgb(0x3E9A3A)));
        StrokeShape(img, leaf, 1.0f, Rgb(0x123818));
        FillShape(img, Intersect(Rotate(Capsule(cx, cy - 46, cx, cy - 22, 0.6f), cx, cy, turn), leaf), Rgb(0x2C6E2A));
    }
    for (int i = 0; i < 4; ++i) {
        const Sdf petal = Rotate(Petal(cx, cy - 44, cy - 8, 18), cx, cy, 90.0f * static_cast<float>(i));
        Metal(img, petal, gold, cx - 30, cy - 44, 60, 2.0f);
    }
    // Pearls around the rim.
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * kPi / 6.0f + kPi / 12.0f;
        Bead(img, cx + std::cos(a) * 57.5f, cy + std::sin(a) * 57.5f, 3.6f, 0xFFF4E0);
    }
    // The emerald in its setting.
    Metal(img, Circle(cx, cy, 15), gold, cx - 15, cy - 15, 30, 2.0f);
    Gem(img, cx, cy, 11, 0x1FC46A);
    Shadow(img);
    return img;
}

// ---------------------------------------------------------------- 2: vase

// Half the vase's width at height y: a smooth curve through its profile.
float VaseHalfWidth(float y) {
    static const float kProfile[][2] = {{12, 21}, {20, 17}, {46, 18}, {64, 26}, {88, 52}, {108, 61},
                                        {126, 57}, {146, 44}, {164, 30}, {172, 26}};
    constexpr int n = static_cast<int>(std::size(kProfile));
    if (y <= kProfile[0][0]) return kProfile[0][1];
    for (int i = 0; i + 1 < n; ++i) {
        if (y > kProfile[i + 1][0]) continue;
        // Catmull-Rom through the neighbours, clamped at the ends.
        const float* p0 = kProfile[std::max(i - 1, 0)];
        const float* p1 = kProfile[i];
        const float* p2 = kProfile[i + 1];
        const float* p3 = kProfile[std::min(i + 2, n - 1)];
        const float t = (y - p1[0]) / (p2[0] - p1[0]);
        const float t2 = t * t, t3 = t2 * t;
        return 0.5f * (2 * p1[1] + (-p0[1] + p2[1]) * t + (2 * p0[1] - 5 * p1[1] + 4 * p2[1] - p3[1]) * t2 +
                       (-p0[1] + 3 * p1[1] - 3 * p2[1] + p3[1]) * t3);
    }
    return kProfile[n - 1][1];
}

Image Vase() {
    Image img(kWidth, kHeight);
    const Rgba clay = Rgb(0xD2743E), clay_dark = Rgb(0x7A3414), black = Rgb(0x241612), cream = Rgb(0xF2D9A6);
    const Sdf body = [](float x, float y) {
        const float w = VaseHalfWidth(y);
        const float slope = (VaseHalfWidth(y + 0.5f) - VaseHalfWidth(y - 0.5f));
        const float side = (std::fabs(x - kMid) - w) / std::sqrt(1.0f + slope * slope);
        return std::max({side, 12.0f - y, y - 174.0f});
    };
    // Across the round body: lit left of the middle, dark at the sides.
    const Paint round = [=](float x, float y) {
        const float u = (x - kMid) / std::max(VaseHalfWidth(y), 1.0f);
        const float light = Clamp01(1.0f - 0.7f * (u + 0.35f) * (u + 0.35f));
        Rgba c = Mix(clay_dark, clay, light);
        return Mix(c, Rgb(0xFFD0A0), 0.45f * std::exp(-std::pow((u + 0.45f) / 0.12f, 2.0f)));
    };

    // Handles from the neck to the shoulders, drawn first so the body covers
    // their ends; they stay below the crest's cell.
    for (float side : {-1.0f, 1.0f}) {
        const float hx = kMid + side * 28.0f;
        const Sdf handle = Subtract(Ellipse(hx, 76, 26, 26), Ellipse(hx, 76, 19, 19));
        FillShape(img, handle, LinearGradient(hx - 26, 50, Rgb(0xE08A50), hx + 26, 102, clay_dark));
        Bevel(img, handle, 2.0f, 0.4f);
        StrokeShape(img, handle, 1.2f, gui::Outline());
    }
    FillShape(img, body, round);
    // Black-figure painting: bands, a frieze of apples and leaves, rays over the foot.
    const auto paint = [&](const Sdf& s, const Rgba& c) { FillShape(img, Intersect(s, body), c); };
    paint(Box(0, 22, 144, 25), black);
    paint(Box(0, 38, 144, 41), black);
    for (int i = 0; i < 6; ++i) {  // tongues round the shoulder
        const float x = kMid - 40.0f + 16.0f * static_cast<float>(i);
        const float y = 72 - std::fabs(x - kMid) * 0.12f;
        paint(SmoothUnion(Circle(x, y, 5.5f), Polygon({{x - 5, y}, {x + 5, y}, {x, y + 16}}), 2), black);
    }
    paint(Box(0, 92, 144, 98), black);
    paint(Box(0, 99, 144, 101), cream);
    for (int i = -2; i <= 2; ++i) {
        const float x = kMid + 23.0f * static_cast<float>(i);
        const float y = 120;
        paint(SmoothUnion(Circle(x - 3.5f, y, 7), Circle(x + 3.5f, y, 7), 3), black);
        paint(Capsule(x, y - 8, x + 2, y - 14, 1.1f), black);
        paint(Rotate(Petal(x + 7, y - 20, y - 9, 6), x + 7, y - 14, 55), black);
        paint(Ellipse(x - 4, y - 3, 2.2f, 3), Rgba {0.95f, 0.8f, 0.6f, 0.8f});  // a glint
    }
    paint(Box(0, 137, 144, 139), cream);
    paint(Box(0, 140, 144, 145), black);
    for (int i = -3; i <= 3; ++i) {
        const float x = kMid + 11.0f * static_cast<float>(i);
        paint(Polygon({{x - 5, 172}, {x + 5, 172}, {x, 151}}), black);
    }
    Bevel(img, body, 3.0f, 0.3f);
    StrokeShape(img, body, 1.2f, gui::Outline());
    // The lip and the foot.
    const Sdf lip = RoundedBox(kMid - 23, 5, kMid + 23, 15, 4);
    FillShape(img, lip, LinearGradient(0, 5, Rgb(0xE8945A), 0, 15, clay_dark));
    FillShape(img, Intersect(lip, Box(0, 5, 144, 8)), black);
    Bevel(img, lip, 2.0f, 0.4f);
    StrokeShape(img, lip, 1.2f, gui::Outline());
    const Sdf foot = RoundedBox(kMid - 36, 172, kMid + 36, 186, 4);
    FillShape(img, foot, LinearGradient(kMid - 36, 172, Rgb(0xE08A50), kMid + 36, 186, black));
    FillShape(img, Intersect(foot, Box(0, 179, 144, 186)), black);
    Bevel(img, foot, 2.0f, 0.4f);
    StrokeShape(img, foot, 1.2f, gui::Outline());
    Shadow(img);
    return img;
}

// ---------------------------------------------------------------- 3: mask

Image Mask() {
    Image img(kWidth, kHeight);
    const Material gold = Gold();
    const Rgba jade = Rgb(0x3DB08E);
    // The crest: three jade petals fanning up from a gold bead.
    // The side petals lean no further than the crest's own cell.
    for (float turn : {-22.0f, 22.0f, 0.0f}) {
        const Sdf petal = Rotate(Petal(kMid, turn == 0.0f ? 6.0f : 18.0f, 60, turn == 0.0f ? 20.0f : 16.0f), kMid, 60, turn);
        FillShape(img, petal, LinearGradient(kMid - 12, 8, Rgb(0xA8F0D0), kMid + 12, 60, Rgb(0x146A56)));
        FillShape(img, Intersect(petal, Rotate(Capsule(kMid, 14, kMid, 58, 0.8f), kMid, 60, turn)), Rgb(0xE8C060));
        Bevel(img, petal, 2.0f, 0.35f);
        StrokeShape(img, petal, 1.2f, gui::Outline());
    }
    // The face: broad brow, narrowing chin.
    const Sdf face = SmoothUnion(Ellipse(kMid, 108, 64, 50), Ellipse(kMid, 140, 46, 45), 10);
    FillShape(img, face, SphereShade(kMid - 14, 100, 118, jade, 0.5f, 0.25f));
    // Swirls on the cheeks in pale jade.
    for (float side : {-1.0f, 1.0f}) {
        const float x = kMid + side * 40.0f;
        for (float r : {4.0f, 9.0f}) StrokeShape(img, Intersect(Circle(x, 142, r), face), 1.6f, Rgb(0x9CE8C8, 0.8f));
    }
    // The diadem across the brow, with its stone.
    const Sdf band = Intersect(face, Subtract(Ellipse(kMid, 168, 92, 106), Ellipse(kMid, 168, 92, 96)));
    Metal(img, band, gold, 8, 60, 130, 2.0f);
    Gem(img, kMid, 66, 7, 0xE0482E);
    // Brows, eyes, nose and mouth.
    for (float side : {-1.0f, 1.0f}) {
        const float ex = kMid + side * 26.0f, ey = 106;
        const float tilt = side * 12.0f;
        const Sdf brow = Rotate(Intersect(Ring(ex, ey + 18, 30, 26), Box(ex - 20, ey - 20, ex + 20, ey - 4)), ex, ey, tilt);
        Metal(img, brow, gold, ex - 20, ey - 14, 40, 1.2f);
        const Sdf eye = Rotate(Intersect(Circle(ex, ey + 14, 20), Circle(ex, ey - 14, 20)), ex, ey, tilt);
        FillShape(img, eye, RadialGradient(ex, ey + 2, 14, Rgb(0x1E3A30), Rgb(0x06100C)));
        StrokeShape(img, eye, 2.2f, gui::GoldMid());
        StrokeShape(img, Offset(eye, 1.2f), 0.8f, gui::Outline());
    }
    const Sdf nose = SmoothUnion(Polygon({{kMid - 3, 96}, {kMid + 3, 96}, {kMid + 8, 138}, {kMid - 8, 138}}),
                                 Ellipse(kMid, 138, 10, 5), 3);
    FillShape(img, nose, LinearGradient(kMid - 8, 96, Rgb(0x8EE0C0), kMid + 8, 140, Rgb(0x2A8A70)));
    Bevel(img, nose, 2.0f, 0.35f);
    const Sdf mouth = Ellipse(kMid, 160, 13, 4);
    FillShape(img, mouth, Rgb(0x08140F));
    StrokeShape(img, mouth, 2.0f, gui::GoldMid());
    Bevel(img, face, 4.0f, 0.35f);
    StrokeShape(img, face, 1.2f, gui::Outline());
    Bead(img, kMid, 58, 6, 0xE8B848);
    Shadow(img);
    return img;
}

// ---------------------------------------------------------------- 4: lantern

Image Lantern() {
    Image img(kWidth, kHeight);
    const Material bronze = Bronze(), iron = Iron();
    Metal(img, Ring(kMid, 22, 16, 10.5f), iron, 56, 6, 32, 2.0f);
    Metal(img, Capsule(kMid, 36, kMid, 50, 3.5f), iron, 68, 36, 10, 1.5f);
    Metal(img, Circle(kMid, 44, 6), bronze, 66, 38, 12, 2.0f);

    // The light: warm glass around a candle flame.
    const float fx = kMid, fy = 122;
    const Sdf glass = Box(18, 84, 126, 158);
    FillShape(img, glass, RadialGradient(fx, fy, 72, Rgb(0xFFF0B8), Rgb(0xD67A28)));
    const Sdf candle = RoundedBox(fx - 7, 134, fx + 7, 158, 2);
    FillShape(img, candle, LinearGradient(fx - 7, 0, Rgb(0xFFF8E8), fx + 7, 0, Rgb(0xD8C0A0)));
    StrokeShape(img, candle, 1.0f, Rgb(0x6A4A2A));
    const Sdf flame = SmoothUnion(Circle(fx, 124, 7), Polygon({{fx - 5, 122}, {fx + 5, 122}, {fx + 1, 100}}), 4);
    FillShape(img, Offset(flame, 5), Rgba {1.0f, 0.85f, 0.4f, 0.45f});
    FillShape(img, flame, RadialGradient(fx, 124, 18, Rgb(0xFFFFF0), Rgb(0xFF9430)));
    FillShape(img, Capsule(fx, 128, fx, 134, 0.8f), Rgb(0x2A1A10));

    // The frame: posts, mullions and rails.
    for (float x : {14.0f, 122.0f}) Metal(img, Box(x, 82, x + 8, 160), iron, x, 82, 40, 1.5f);
    for (float x : {52.0f, 88.0f}) Metal(img, Box(x, 84, x + 4, 158), iron, x, 84, 30, 1.0f);
    Metal(img, Box(14, 80, 130, 88), iron, 14, 80, 70, 1.5f);
    Metal(img, Box(14, 154, 130, 162), iron, 14, 154, 70, 1.5f);
    // A sheen on the glass panes.
    for (float x : {24.0f, 60.0f, 94.0f})
        FillShape(img, Polygon({{x, 90}, {x + 6, 90}, {x + 16, 150}, {x + 10, 150}}), Rgba {1, 1, 1, 0.16f});

    // The roof with its ribs and the base with its feet.
    const Sdf roof = Polygon({{54, 50}, {90, 50}, {138, 76}, {6, 76}});
    Metal(img, roof, bronze, 6, 50, 132, 2.5f);
    for (int i = -2; i <= 2; ++i) {
        const float t = static_cast<float>(i) / 2.0f;
        FillShape(img, Intersect(Capsule(kMid + t * 16, 52, kMid + t * 60, 75, 0.8f), roof), Rgb(0x5A3816, 0.8f));
    }
    Metal(img, RoundedBox(4, 74, 140, 82, 3), bronze, 4, 74, 136, 1.5f);
    Metal(img, Polygon({{10, 160}, {134, 160}, {122, 174}, {22, 174}}), bronze, 10, 160, 124, 2.0f);
    Metal(img, RoundedBox(18, 172, 126, 180, 3), bronze, 18, 172, 108, 1.5f);
    for (float x : {24.0f, 108.0f}) Metal(img, RoundedBox(x, 178, x + 12, 186, 3), iron, x, 178, 12, 1.0f);
    Shadow(img);
    return img;
}

// ---------------------------------------------------------------- 5: crown

Sdf Star4(float cx, float cy, float outer, float inner) {
    std::vector<Vec2> pts;
    for (int i = 0; i < 8; ++i) {
        const float r = i % 2 ? inner : outer;
        const float a = -kPi / 2.0f + static_cast<float>(i) * kPi / 4.0f;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return Polygon(pts);
}

Image Crown() {
    Image img(kWidth, kHeight);
    const Material silver = IceSilver();
    // The velvet cap seen between the points.
    const Sdf cap = Intersect(Ellipse(kMid, 140, 54, 66), Box(0, 0, 144, 150));
    FillShape(img, cap, RadialGradient(kMid - 14, 100, 70, Rgb(0x4A5CC0), Rgb(0x141C4E)));
    StrokeShape(img, cap, 1.0f, gui::Outline());
    // The finial: an ice star over a sapphire orb on a stem.
    Metal(img, Capsule(kMid, 36, kMid, 60, 3), silver, 68, 36, 10, 1.2f);
    const Sdf star = Star4(kMid, 18, 17, 5);
    FillShape(img, star, LinearGradient(kMid - 10, 4, Rgb(0xFFFFFF), kMid + 10, 32, Rgb(0x7CC0EE)));
    Bevel(img, star, 2.0f, 0.4f);
    StrokeShape(img, star, 1.0f, Rgb(0x1A2A40));
    Gem(img, kMid, 40, 8, 0x3A8EE0);

    // The points, each with a pearl and a stone.
    const Vec2 tips[] = {{14, 92}, {43, 72}, {kMid, 60}, {101, 72}, {130, 92}};
    const Sdf points = Polygon({{8, 150}, {14, 92}, {30, 120}, {43, 72}, {58, 112}, {kMid, 60}, {86, 112},
                                {101, 72}, {114, 120}, {130, 92}, {136, 150}});
    Metal(img, points, silver, 8, 60, 128, 3.0f);
    for (size_t i = 0; i < std::size(tips); ++i) {
        const Vec2 t = tips[i];
        if (i != 2) Bead(img, t.x, t.y - 2, 5, 0xF8F8FF);
        // The outer points lean outward: their stones sit toward the middle.
        const float inward = i == 0 ? 5.0f : i == 4 ? -5.0f : 0.0f;
        Gem(img, t.x + inward, t.y + (i == 2 ? 40.0f : 30.0f), i == 2 ? 6.0f : 5.0f, i % 2 ? 0x3A8EE0 : 0x9CDCFF);
    }
    // The band with its stones and a rime of snow along its top.
    const Sdf band = RoundedBox(6, 146, 138, 184, 6);
    Metal(img, band, silver, 6, 146, 132, 3.0f);
    StrokeShape(img, RoundedBox(11, 151, 133, 179, 4), 1.0f, Rgb(0x56647A, 0.8f));
    for (float x : {28.0f, kMid, 116.0f}) {
        const Sdf setting = Ellipse(x, 165, 11, 9);
        Metal(img, setting, Gold(), x - 11, 156, 22, 1.5f);
        FillShape(img, Ellipse(x, 165, 8, 6), SphereShade(x, 165, 9, Rgb(0x2A7ED8), 0.4f, 0.8f));
        FillShape(img, Circle(x - 3, 162, 1.5f), Rgba {1, 1, 1, 0.9f});
    }
    for (float x : {50.0f, 94.0f}) Gem(img, x, 165, 5, 0xE8F4FF);
    const Sdf rime = Intersect(band, [](float x, float y) {
        return y - (150.0f + 2.0f * std::sin(x * 0.35f) + 1.2f * std::sin(x * 0.9f + 1.0f));
    });
    FillShape(img, rime, Rgba {0.97f, 0.99f, 1.0f, 0.95f});
    // Frost sparkles.
    for (const Vec2 s : std::vector<Vec2> {{24, 128}, {60, 96}, {112, 134}, {92, 178}, {36, 176}})
        FillShape(img, Star4(s.x, s.y, 5, 1.2f), Rgba {1, 1, 1, 0.95f});
    Shadow(img);
    return img;
}

}  // namespace

const std::vector<Design>& Designs() {
    static const std::vector<Design> designs = {
        {"amulet", Amulet, 0xB8FF88, {kMid, 120}, 64},
        {"vase", Vase, 0xFFB060, {kMid, 114}, 40},
        {"mask", Mask, 0x70FFD0, {kMid, 116}, 84},
        {"lantern", Lantern, 0xFFC860, {kMid, 124}, 64},
        {"crown", Crown, 0xA8DCFF, {kMid, 160}, 44},
    };
    return designs;
}

}  // namespace assetgen::artefact
