// The front end's pictures: the game's title (Textures\Menu\title.png, on the
// main menu's panel), the game-complete panel's atlas
// (Textures\Menu\game_complete.png) and the two splash screens of
// Settings\SplashScreen.xml (Textures\Splash\studio.png, the studio card on
// black, and Textures\Splash\title_screen.png, the full-screen title).
//
// game_complete.png layout (the rectangles Settings\Dialogs.xml cuts; change
// both together): cup 128x128 at (0,0), star 96x96 at (128,0), page arrows
// 32x32 left (224,0) and right (224,32).
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "generator_registry.h"
#include "gui_style.h"
#include "image_writer.h"
#include "value_noise.h"

namespace assetgen {

namespace {

using namespace assetgen::gui;

constexpr float kPi = 3.14159265f;
const char* const kBoldFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The ball colours of the field (field_balls_tiles), for the title's balls.
constexpr uint32_t kRed = 0xE53935, kGreen = 0x43A047, kBlue = 0x1E88E5, kYellow = 0xFDD835, kPurple = 0x8E24AA;

// Glyphs of one DejaVu face at one pixel size, as white coverage images.
class GlyphSet {
public:
    GlyphSet(const char* face_path, int pixel_size) {
        if (FT_Init_FreeType(&_library)) throw std::runtime_error("FreeType cannot start");
        if (FT_New_Face(_library, face_path, 0, &_face)) {
            FT_Done_FreeType(_library);
            throw std::runtime_error(std::string("cannot open font ") + face_path);
        }
        FT_Set_Pixel_Sizes(_face, 0, static_cast<FT_UInt>(pixel_size));
    }
    ~GlyphSet() {
        FT_Done_Face(_face);
        FT_Done_FreeType(_library);
    }
    GlyphSet(const GlyphSet&) = delete;
    GlyphSet& operator=(const GlyphSet&) = delete;

    // Draws `ch` with its pen at (pen_x, baseline) in `paint`; returns the advance.
    float Draw(Image& img, char ch, float pen_x, float baseline, const Paint& paint) {
        if (FT_Load_Char(_face, static_cast<unsigned char>(ch), FT_LOAD_RENDER)) return 0;
        const FT_GlyphSlot g = _face->glyph;
        const int left = static_cast<int>(std::lround(pen_x)) + g->bitmap_left;
        const int top = static_cast<int>(std::lround(baseline)) - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const float coverage = g->bitmap.buffer[row * static_cast<unsigned>(g->bitmap.pitch) + col] / 255.0f;
                const int x = left + static_cast<int>(col), y = top + static_cast<int>(row);
                if (coverage > 0) img.Blend(x, y, paint(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f), coverage);
            }
        return static_cast<float>(g->advance.x) / 64.0f;
    }
    float Advance(char ch) {
        if (FT_Load_Char(_face, static_cast<unsigned char>(ch), FT_LOAD_DEFAULT)) return 0;
        return static_cast<float>(_face->glyph->advance.x) / 64.0f;
    }
    // The width of a line with `spacing` extra pixels between letters.
    float Width(const std::string& text, float spacing) {
        float w = 0;
        for (char ch : text) w += Advance(ch) + spacing;
        return text.empty() ? 0 : w - spacing;
    }
    // A line centred on `centre_x`.
    void DrawCentred(Image& img, const std::string& text, float centre_x, float baseline, float spacing,
                     const Paint& paint) {
        float x = centre_x - Width(text, spacing) / 2;
        for (char ch : text) x += Draw(img, ch, x, baseline, paint) + spacing;
    }

private:
    FT_Library _library = nullptr;
    FT_Face _face = nullptr;
};

// A field ball: shaded, with a dark rim and a pale mark like the field's.
void Ball(Image& img, float cx, float cy, float r, uint32_t rgb) {
    const Sdf body = Circle(cx, cy, r);
    FillShape(img, body, SphereShade(cx, cy, r, Rgb(rgb), 0.4f, 0.55f));
    StrokeShape(img, body, std::max(1.2f, r / 24.0f), Shade(Rgb(rgb), -0.6f));
}

// The gold of the title letters: light at the top, deep at the foot.
Paint TitleGold(float top, float bottom) {
    return [=](float, float y) {
        const float t = std::clamp((y - top) / (bottom - top), 0.0f, 1.0f);
        if (t < 0.5f) return Mix(Rgb(0xFFF4C0), GoldLight(), t / 0.5f);
        return Mix(GoldLight(), Rgb(0xC07A1E), (t - 0.5f) / 0.5f);
    };
}

// title.png, 512x224: "TOLVAN" small above "VOVARO", whose two O are field
// balls; a gold fill, a dark outline and a soft shadow.
Image Title() {
    Image img(512, 224);
    GlyphSet small(kBoldFace, 30);
    small.DrawCentred(img, "TOLVAN", 256, 48, 10, [](float, float y) {
        return Mix(Rgb(0xF4F8FF), Rgb(0xA8CCF4), std::clamp((y - 22.0f) / 26.0f, 0.0f, 1.0f));
    });
    Outline(img, 2.0f, Rgb(0x0A1230, 0.9f));

    GlyphSet big(kBoldFace, 100);
    const float baseline = 172, cap_top = 99, spacing = 2;
    const float ball_r = 35;
    // Letters and balls side by side: 'O' stands for a ball of the cap height.
    const std::string word = "VOVARO";
    std::vector<float> widths;
    float total = 0;
    for (char ch : word) {
        widths.push_back(ch == 'O' ? 2 * ball_r + 6 : big.Advance(ch));
        total += widths.back() + spacing;
    }
    total -= spacing;
    Image letters(512, 224);
    const Paint gold = TitleGold(cap_top, baseline);
    float x = 256 - total / 2;
    std::vector<Vec2> balls;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] == 'O')
            balls.push_back({x + widths[i] / 2, (cap_top + baseline) / 2 + 1});
        else
            big.Draw(letters, word[i], x, baseline, gold);
        x += widths[i] + spacing;
    }
    const uint32_t colours[] = {kRed, kBlue};
    for (size_t i = 0; i < balls.size(); ++i) Ball(letters, balls[i].x, balls[i].y, ball_r, colours[i % 2]);
    Outline(letters, 3.0f, Outline());
    DropShadow(letters, 3, 5, 4, Rgb(0x000000, 0.55f));
    img.Draw(letters, 0, 0);
    return img;
}

// A golden trophy cup, 128x128.
Image Cup() {
    Image img(128, 128);
    const Sdf bowl = Union(Intersect(Ellipse(64, 30, 40, 58), Box(20, 18, 108, 120)), Box(24, 18, 104, 30));
    const Sdf cup = Subtract(bowl, Box(0, 0, 128, 18));
    const Sdf handles = Union(Subtract(Circle(24, 44, 17), Circle(24, 44, 10)),
                              Subtract(Circle(104, 44, 17), Circle(104, 44, 10)));
    const Sdf stem = Union(Box(56, 84, 72, 102), Polygon({{46, 84}, {82, 84}, {70, 92}, {58, 92}}));
    const Sdf base = RoundedBox(34, 100, 94, 116, 4);
    const Sdf body = Union(Union(Subtract(handles, Box(34, 0, 94, 128)), cup), Union(stem, base));
    FillShape(img, body, LinearGradient(24, 18, Rgb(0xFFF0B0), 104, 116, Rgb(0xB0701A)));
    Bevel(img, body, 3.0f, 0.45f);
    // The rim's mouth and a ball in the bowl's face.
    FillShape(img, Ellipse(64, 20, 38, 5), Rgb(0x6E4A14));
    Ball(img, 64, 52, 15, kGreen);
    StrokeShape(img, body, 1.2f, Outline());
    DropShadow(img, 2, 3, 2, Rgb(0x000000, 0.5f));
    return img;
}

// A five-pointed gold star, 96x96.
Image Star() {
    Image img(96, 96);
    std::vector<Vec2> points;
    for (int i = 0; i < 10; ++i) {
        const float r = i % 2 ? 18.0f : 42.0f;
        const float a = -kPi / 2 + kPi * static_cast<float>(i) / 5.0f;
        points.push_back({48 + r * std::cos(a), 50 + r * std::sin(a)});
    }
    const Sdf star = Polygon(points);
    FillShape(img, star, RadialGradient(44, 42, 44, Rgb(0xFFF6C8), Rgb(0xD08A20)));
    Bevel(img, star, 3.0f, 0.5f);
    StrokeShape(img, star, 1.2f, Outline());
    DropShadow(img, 2, 3, 2, Rgb(0x000000, 0.5f));
    return img;
}

// A page arrow, 32x32, pointing left or right.
Image PageArrow(bool right) {
    Image img(32, 32);
    const float s = right ? 1.0f : -1.0f;
    const Sdf head = Polygon({{16 + s * 11, 16}, {16 - s * 7, 4}, {16 - s * 7, 28}});
    FillShape(img, head, LinearGradient(0, 4, Rgb(0xFFF2C4), 0, 28, Rgb(0xC98A22)));
    Bevel(img, head, 2.0f, 0.4f);
    StrokeShape(img, head, 1.0f, Outline());
    return img;
}

Image GameCompleteAtlas() {
    Image atlas(256, 128);
    atlas.Draw(Cup(), 0, 0);
    atlas.Draw(Star(), 128, 0);
    atlas.Draw(PageArrow(false), 224, 0);
    atlas.Draw(PageArrow(true), 224, 32);
    return atlas;
}

// A small bird in flight, the studio's sign: body, head, wing, tail and beak.
Sdf Bird(float cx, float cy, float s) {
    const Sdf body = Ellipse(cx, cy, 30 * s, 17 * s);
    const Sdf head = Circle(cx + 27 * s, cy - 10 * s, 13 * s);
    const Sdf wing = Polygon({{cx - 10 * s, cy - 4 * s}, {cx + 14 * s, cy - 6 * s}, {cx - 18 * s, cy - 44 * s}});
    const Sdf tail = Polygon({{cx - 24 * s, cy - 2 * s}, {cx - 50 * s, cy - 16 * s}, {cx - 46 * s, cy + 8 * s}});
    return Union(Union(body, head), Union(wing, tail));
}

// studio.png, 512x256, on black: the bird in a gold ring and the studio's name.
Image StudioCard() {
    Image img(512, 256);
    const float cx = 256, cy = 92;
    FillShape(img, Circle(cx, cy, 66), RadialGradient(cx - 16, cy - 20, 80, Rgb(0x3A62B4), Rgb(0x0E1A40)));
    Image ring(512, 256);
    GoldRing(ring, cx - 70, cy - 70, cx + 70, cy + 70, 70, 9);
    img.Draw(ring, 0, 0);
    const Sdf bird = Bird(cx + 2, cy + 10, 1.1f);
    FillShape(img, bird, LinearGradient(cx - 40, cy - 40, Rgb(0xFFFFFF), cx + 40, cy + 30, Rgb(0xB8D4F4)));
    StrokeShape(img, bird, 1.2f, Rgb(0x0A1230, 0.9f));
    FillShape(img, Polygon({{cx + 40, cy - 4}, {cx + 54, cy - 1}, {cx + 40, cy + 3}}), Rgb(0xFFB030));
    FillShape(img, Circle(cx + 33, cy - 3, 2.6f), Rgb(0x0A1230));

    GlyphSet name(kBoldFace, 40);
    name.DrawCentred(img, "TOLVAN GAMES", 256, 212, 6, TitleGold(180, 214));
    GlyphSet small(kBoldFace, 16);
    small.DrawCentred(img, "PRESENTS", 256, 240, 8, Solid(Rgb(0x9CB4DC)));
    return img;
}

// title_screen.png, 800x600: an evening sky over rolling hills, balls resting
// on the crest, sparkles, and the title in the middle (room below it, at
// y 420, for the subtitle the splash prints).
Image TitleScreen() {
    Image img(800, 600);
    for (int y = 0; y < 600; ++y) {
        const Rgba row = Mix(Rgb(0x0B1633), Rgb(0x3A68A8), static_cast<float>(y) / 599.0f);
        for (int x = 0; x < 800; ++x) img.Set(x, y, row);
    }
    // A warm glow behind the title.
    FillShape(img, Box(0, 0, 800, 600), RadialGradient(400, 230, 300, Rgb(0xFFD890, 0.35f), Rgb(0xFFD890, 0.0f)));
    // Sparkles: small four-pointed stars scattered over the sky.
    for (int i = 0; i < 48; ++i) {
        const float x = 10 + LatticeHash(i, 1, 91u) * 780;
        const float y = 10 + LatticeHash(i, 2, 91u) * 330;
        const float r = 1.5f + LatticeHash(i, 3, 91u) * 3.5f;
        const Sdf sparkle = Union(Box(x - r, y - r / 5, x + r, y + r / 5), Box(x - r / 5, y - r, x + r / 5, y + r));
        FillShape(img, sparkle, Rgb(0xFFF6D8, 0.35f + 0.5f * LatticeHash(i, 4, 91u)));
    }
    // Two rows of hills: far and near.
    const auto hills = [&](float base, float amp, uint32_t top, uint32_t bottom, float phase) {
        const Sdf land = [=](float x, float y) {
            const float h = base - amp * (0.6f * std::sin(x / 130.0f + phase) + 0.4f * std::sin(x / 57.0f + 2 * phase));
            return h - y;
        };
        FillShape(img, land, LinearGradient(0, base - amp, Rgb(top), 0, 600, Rgb(bottom)));
        return land;
    };
    hills(470, 28, 0x2E5A6E, 0x1A3040, 0.7f);
    const Sdf near = hills(530, 22, 0x3E8A30, 0x1C4418, 2.1f);
    // Balls resting on the near crest.
    const uint32_t colours[] = {kRed, kGreen, kBlue, kYellow, kPurple};
    const float xs[] = {110, 172, 628, 688, 742};
    for (int i = 0; i < 5; ++i) {
        float y = 300;
        while (y < 600 && near(xs[i], y) > 0) y += 1;  // the crest under the ball
        Ball(img, xs[i], y - 22, 24, colours[i]);
    }
    img.Draw(Title(), 144, 150);
    // The subtitle is a label of the current language, printed by the splash.
    return img;
}

void Generate(const std::string& data_dir) {
    WritePng(DataPath(data_dir, "Textures\\Menu\\title.png"), Title());
    WritePng(DataPath(data_dir, "Textures\\Menu\\game_complete.png"), GameCompleteAtlas());
    WritePng(DataPath(data_dir, "Textures\\Splash\\studio.png"), StudioCard());
    WritePng(DataPath(data_dir, "Textures\\Splash\\title_screen.png"), TitleScreen());
}

}  // namespace

ASSET_GENERATOR("front_end_art", Generate);

}  // namespace assetgen
