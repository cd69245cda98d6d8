// The art of the game scene's dialogs: Textures\GUI\game_dialogs.png, an atlas
// of the help and credits page arrows, the hint bubble's pointer, a divider,
// the icons that illustrate the help pages, hints and dialogs, and two
// emblems; and the loading screen's picture Textures\Common\128.tga.
//
// Atlas layout (the rectangles Settings\Dialogs.xml and Settings\Hints.xml
// cut; change both together):
//   arrows 32x32: left (4,4), right (44,4); hint pointer 40x32 at (84,4),
//   its tip the middle of its bottom edge; divider 320x16 at (132,12);
//   icons 48x48 at (4 + 56 i, 48) for i = 0..8 and (4 + 56 i, 104) for
//   i = 9..17 (in IconKind order); emblems 96x96: game over (4,160),
//   pause (108,160), trophy (212,160). The ball that charges a tool is
//   shown from the field's own ball sheet.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "generator_registry.h"
#include "gui_style.h"
#include "image_writer.h"

namespace assetgen {

namespace {

using namespace assetgen::gui;

constexpr float kPi = 3.14159265f;

enum IconKind {
    kMatch, kSwap, kTile, kLock, kStone, kDynamite, kLightning, kBurner, kMixer,
    kSlowDown, kHammer, kFeather, kEgg, kBird, kArtefact, kHeart, kClock, kStar,
    kIconCount
};

// A shaded ball with a dark outline.
void Ball(Image& img, float cx, float cy, float r, uint32_t rgb) {
    FillShape(img, Circle(cx, cy, r), SphereShade(cx, cy, r, Rgb(rgb)));
    StrokeShape(img, Circle(cx, cy, r), 1.0f, Rgb(0x10141C, 0.9f));
}

// A filled shape with a gradient from light (top left) to dark, bevel and outline.
void Solid(Image& img, const Sdf& shape, uint32_t light, uint32_t dark, float x0, float y0, float x1, float y1) {
    FillShape(img, shape, LinearGradient(x0, y0, Rgb(light), x1, y1, Rgb(dark)));
    Bevel(img, shape, 2.0f, 0.35f);
    StrokeShape(img, shape, 1.0f, Outline());
}

// An arrow pointing right or left: a shaft and a head.
Sdf ArrowShape(float cx, float cy, float size, bool right) {
    const float s = right ? 1.0f : -1.0f, h = size / 2;
    const Sdf head = Polygon({{cx + s * h, cy}, {cx - s * 0.05f * size, cy - h}, {cx - s * 0.05f * size, cy + h}});
    const Sdf shaft = Box(std::min(cx - s * h, cx), cy - size * 0.17f, std::max(cx - s * h, cx), cy + size * 0.17f);
    return Union(head, shaft);
}

Image PageArrow(bool right) {
    Image img(32, 32);
    const Sdf arrow = ArrowShape(16, 16, 24, right);
    Solid(img, arrow, 0xFFF2C4, 0xC98A22, 4, 4, 28, 28);
    DropShadow(img, 1, 2, 1, Rgb(0x000000, 0.5f));
    return img;
}

// The bubble's pointer: gold-rimmed dark glass narrowing to a tip at the
// middle of the bottom edge; its top joins the panel's bottom rim.
Image HintPointer() {
    Image img(40, 32);
    const Sdf outer = Polygon({{2, 0}, {38, 0}, {20, 31.5f}});
    const Sdf inner = Polygon({{9, 0}, {31, 0}, {20, 21}});
    FillShape(img, outer, LinearGradient(0, 0, GoldLight(), 0, 32, GoldMid()));
    Bevel(img, outer, 2.0f, 0.3f);
    FillShape(img, inner, LinearGradient(0, 0, GlassTop(), 0, 21, GlassBottom()));
    StrokeShape(img, outer, 1.0f, Outline());
    return img;
}

Image Divider() {
    Image img(320, 16);
    const Paint fade = [](float x, float) {
        const float t = 1.0f - std::fabs(x - 160.0f) / 160.0f;
        Rgba c = Mix(GoldDark(), GoldLight(), t);
        c.a = Clamp01(t * 2.0f);
        return c;
    };
    FillShape(img, Box(0, 7, 320, 9), fade);
    const Sdf diamond = Polygon({{160, 1}, {168, 8}, {160, 15}, {152, 8}});
    Solid(img, diamond, 0xFFF2C4, 0xB07A20, 152, 1, 168, 15);
    return img;
}

void DrawMatch(Image& img) {
    for (int i = 0; i < 3; ++i) Ball(img, 9.0f + 15.0f * i, 24, 7.5f, 0xE04040);
}

void DrawSwap(Image& img) {
    Ball(img, 13, 28, 9, 0x40A0F0);
    Ball(img, 35, 28, 9, 0x50C850);
    const Sdf arc = Subtract(Circle(24, 22, 13), Circle(24, 22, 10));
    const Sdf top = Intersect(arc, Box(0, 0, 48, 17));
    FillShape(img, top, Rgb(0xFFE9A8));
    FillShape(img, Polygon({{34, 10}, {41, 17}, {32, 18}}), Rgb(0xFFE9A8));
    StrokeShape(img, Union(top, Polygon({{34, 10}, {41, 17}, {32, 18}})), 1.0f, Outline());
}

void DrawTile(Image& img) {
    // Two layers: the lower peeking out below the upper.
    const Sdf lower = RoundedBox(8, 12, 44, 44, 5);
    const Sdf upper = RoundedBox(4, 4, 40, 36, 5);
    Solid(img, lower, 0x9A7ACF, 0x4A2F7A, 8, 12, 44, 44);
    Solid(img, upper, 0xE8C070, 0x9A6A20, 4, 4, 40, 36);
    FillShape(img, Circle(22, 20, 7), Rgb(0xFFF4D0, 0.35f));
}

void DrawLock(Image& img) {
    Ball(img, 24, 24, 13, 0xE0A030);
    for (float a : {35.0f, -35.0f}) {
        const Sdf link = Rotate(Subtract(RoundedBox(6, 19, 42, 29, 5), RoundedBox(9, 22, 39, 26, 2)), 24, 24, a);
        FillShape(img, link, LinearGradient(0, 10, Rgb(0xE8ECF4), 0, 38, Rgb(0x707888)));
        StrokeShape(img, link, 1.0f, Rgb(0x20242C));
    }
}

void DrawStone(Image& img) {
    const Sdf stone = Polygon({{10, 16}, {22, 6}, {38, 10}, {44, 26}, {36, 40}, {16, 42}, {5, 30}});
    Solid(img, stone, 0xC8C8C0, 0x585850, 5, 6, 44, 42);
    StrokeShape(img, Capsule(20, 16, 28, 28, 0.1f), 1.2f, Rgb(0x303028));
    StrokeShape(img, Capsule(28, 28, 25, 36, 0.1f), 1.2f, Rgb(0x303028));
}

void DrawDynamite(Image& img) {
    const Sdf stick = Rotate(RoundedBox(16, 12, 32, 44, 3), 24, 28, 20.0f);
    Solid(img, stick, 0xF06050, 0x901818, 16, 12, 32, 44);
    const Sdf band = Intersect(stick, Rotate(Box(10, 24, 38, 30), 24, 28, 20.0f));
    FillShape(img, band, Rgb(0xF0E0B0));
    StrokeShape(img, Capsule(29, 12, 34, 5, 0.6f), 1.5f, Rgb(0x3A2A18));
    FillShape(img, Circle(35, 5, 4), RadialGradient(35, 5, 4, Rgb(0xFFFFE0), Rgb(0xFF9020, 0.0f)));
}

Sdf BoltShape() {
    return Polygon({{28, 2}, {12, 26}, {22, 26}, {16, 46}, {36, 18}, {26, 18}, {32, 2}});
}

void DrawLightning(Image& img) {
    FillShape(img, Offset(BoltShape(), 3.0f), Rgb(0x80C0FF, 0.35f));
    Solid(img, BoltShape(), 0xFFFFD0, 0xF0B020, 12, 2, 36, 46);
}

void DrawBurner(Image& img) {
    const Sdf outer = Union(Circle(24, 32, 12), Polygon({{12, 30}, {24, 2}, {36, 30}}));
    const Sdf inner = Union(Circle(24, 35, 7), Polygon({{17, 34}, {24, 16}, {31, 34}}));
    FillShape(img, outer, LinearGradient(0, 4, Rgb(0xFFD040), 0, 44, Rgb(0xE03010)));
    FillShape(img, inner, LinearGradient(0, 16, Rgb(0xFFFFF0), 0, 42, Rgb(0xFFD060)));
    StrokeShape(img, outer, 1.0f, Rgb(0x501000, 0.9f));
}

void DrawMixer(Image& img) {
    const uint32_t colours[4] = {0xE04040, 0x50C850, 0x40A0F0, 0xF0D040};
    for (int i = 0; i < 4; ++i) {
        const float a = kPi / 2 * static_cast<float>(i) + 0.4f;
        Ball(img, 24 + 12 * std::cos(a), 24 + 12 * std::sin(a), 8, colours[i]);
    }
    const Sdf swirl = Subtract(Circle(24, 24, 21), Circle(24, 24, 19));
    FillShape(img, Intersect(swirl, Box(0, 0, 24, 48)), Rgb(0xFFE9A8, 0.9f));
}

void DrawSlowDown(Image& img) {
    const Sdf glass = Polygon({{12, 8}, {36, 8}, {26, 24}, {36, 40}, {12, 40}, {22, 24}});
    FillShape(img, glass, Rgb(0xD0E8FF, 0.55f));
    FillShape(img, Polygon({{15, 38}, {33, 38}, {24, 28}}), Rgb(0xF0C860));
    FillShape(img, Polygon({{17, 12}, {31, 12}, {24, 21}}), Rgb(0xF0C860));
    StrokeShape(img, glass, 1.2f, Rgb(0x304060));
    Solid(img, RoundedBox(8, 4, 40, 9, 2), 0xC8A060, 0x6E4A14, 8, 4, 40, 9);
    Solid(img, RoundedBox(8, 39, 40, 44, 2), 0xC8A060, 0x6E4A14, 8, 39, 40, 44);
}

void DrawHammer(Image& img) {
    const Sdf handle = Rotate(RoundedBox(21, 14, 27, 46, 2.5f), 24, 24, 35.0f);
    Solid(img, handle, 0xD8A060, 0x7A4A1C, 14, 14, 34, 46);
    const Sdf head = Rotate(RoundedBox(10, 6, 38, 18, 3), 24, 24, 35.0f);
    Solid(img, head, 0xF0F2F6, 0x6A7080, 10, 4, 38, 22);
}

void DrawFeather(Image& img) {
    const Sdf vane = Rotate(Ellipse(24, 22, 8, 19), 24, 24, 35.0f);
    FillShape(img, vane, LinearGradient(10, 6, Rgb(0xFFFFFF), 38, 40, Rgb(0x9AD0F0)));
    for (int i = -3; i <= 3; ++i) {
        const float t = static_cast<float>(i) * 4.5f;
        StrokeShape(img, Rotate(Capsule(24, 22 + t, 31, 17 + t, 0.1f), 24, 24, 35.0f), 0.8f, Rgb(0x6090B0, 0.7f));
    }
    StrokeShape(img, vane, 1.0f, Rgb(0x305070));
    StrokeShape(img, Rotate(Capsule(24, 6, 24, 46, 0.2f), 24, 24, 35.0f), 1.3f, Rgb(0x605040));
}

void DrawEgg(Image& img) {
    const Sdf egg = Union(Ellipse(24, 28, 14, 16), Ellipse(24, 20, 11, 15));
    FillShape(img, egg, SphereShade(20, 22, 20, Rgb(0xF4E8D0), 0.5f, 0.5f));
    for (Vec2 p : {Vec2 {18, 20}, Vec2 {30, 30}, Vec2 {22, 36}, Vec2 {31, 16}})
        FillShape(img, Circle(p.x, p.y, 1.6f), Rgb(0xA08060, 0.8f));
    StrokeShape(img, egg, 1.0f, Outline());
}

void DrawBird(Image& img) {
    const Sdf body = Ellipse(22, 28, 15, 11);
    const Sdf head = Circle(33, 17, 8);
    Solid(img, Union(body, head), 0x80C8FF, 0x2060B0, 8, 8, 40, 40);
    const Sdf wing = Ellipse(18, 28, 10, 6);
    Solid(img, Rotate(wing, 18, 28, -20.0f), 0xC0E4FF, 0x3A70B8, 8, 22, 28, 34);
    FillShape(img, Polygon({{40, 15}, {47, 18}, {40, 21}}), Rgb(0xF0A020));
    FillShape(img, Circle(35, 15, 2.2f), Rgb(0xFFFFFF));
    FillShape(img, Circle(35.6f, 15.2f, 1.2f), Rgb(0x101010));
    StrokeShape(img, Capsule(18, 39, 16, 45, 0.1f), 1.4f, Rgb(0xB07020));
    StrokeShape(img, Capsule(26, 39, 27, 45, 0.1f), 1.4f, Rgb(0xB07020));
}

void DrawArtefact(Image& img) {
    const Sdf shard = Polygon({{24, 3}, {42, 16}, {36, 44}, {12, 44}, {6, 16}});
    Solid(img, shard, 0xB8F0E0, 0x1E8070, 6, 3, 42, 44);
    for (Vec2 p : {Vec2 {24, 3}, Vec2 {6, 16}, Vec2 {42, 16}})
        StrokeShape(img, Capsule(p.x, p.y, 24, 22, 0.1f), 0.8f, Rgb(0xFFFFFF, 0.6f));
    StrokeShape(img, Capsule(24, 22, 24, 44, 0.1f), 0.8f, Rgb(0x0A4038, 0.6f));
}

Sdf HeartShape(float cx, float cy, float s) {
    const Sdf lobes = Union(Circle(cx - 0.5f * s, cy - 0.25f * s, 0.55f * s), Circle(cx + 0.5f * s, cy - 0.25f * s, 0.55f * s));
    return Union(lobes, Polygon({{cx - 1.02f * s, cy - 0.1f * s}, {cx + 1.02f * s, cy - 0.1f * s}, {cx, cy + 1.05f * s}}));
}

void DrawHeart(Image& img) {
    const Sdf heart = HeartShape(24, 22, 18);
    FillShape(img, heart, SphereShade(18, 16, 24, Rgb(0xE83048)));
    StrokeShape(img, heart, 1.0f, Outline());
}

void DrawClock(Image& img) {
    Solid(img, Circle(24, 24, 20), 0xFFE9A8, 0xB07A20, 4, 4, 44, 44);
    FillShape(img, Circle(24, 24, 16), LinearGradient(0, 8, Rgb(0xFFFFFF), 0, 40, Rgb(0xD8DCE8)));
    for (int i = 0; i < 12; ++i) {
        const float a = kPi / 6 * static_cast<float>(i);
        FillShape(img, Circle(24 + 13 * std::cos(a), 24 + 13 * std::sin(a), 1.1f), Rgb(0x303040));
    }
    StrokeShape(img, Capsule(24, 24, 24, 13, 0.1f), 1.6f, Rgb(0x202030));
    StrokeShape(img, Capsule(24, 24, 32, 28, 0.1f), 1.6f, Rgb(0x202030));
}

Sdf StarShape(float cx, float cy, float outer, float inner) {
    std::vector<Vec2> points;
    for (int i = 0; i < 10; ++i) {
        const float a = -kPi / 2 + kPi / 5 * static_cast<float>(i);
        const float r = i % 2 ? inner : outer;
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return Polygon(points);
}

void DrawStar(Image& img) {
    Solid(img, StarShape(24, 25, 21, 9), 0xFFF4B0, 0xE0A020, 4, 4, 44, 44);
}

void DrawIcon(Image& img, IconKind kind) {
    switch (kind) {
        case kMatch: DrawMatch(img); break;
        case kSwap: DrawSwap(img); break;
        case kTile: DrawTile(img); break;
        case kLock: DrawLock(img); break;
        case kStone: DrawStone(img); break;
        case kDynamite: DrawDynamite(img); break;
        case kLightning: DrawLightning(img); break;
        case kBurner: DrawBurner(img); break;
        case kMixer: DrawMixer(img); break;
        case kSlowDown: DrawSlowDown(img); break;
        case kHammer: DrawHammer(img); break;
        case kFeather: DrawFeather(img); break;
        case kEgg: DrawEgg(img); break;
        case kBird: DrawBird(img); break;
        case kArtefact: DrawArtefact(img); break;
        case kHeart: DrawHeart(img); break;
        case kClock: DrawClock(img); break;
        case kStar: DrawStar(img); break;
        case kIconCount: break;
    }
}

// A disc of dark glass in a gold ring, the ground of the emblems.
void EmblemDisc(Image& img, float size) {
    const float c = size / 2;
    FillShape(img, Circle(c, c, c - 1), LinearGradient(0, 0, GoldLight(), size, size, GoldDark()));
    FillShape(img, Circle(c, c, c - 6), RadialGradient(c - 8, c - 10, c, Rgb(0x3A5298), Rgb(0x0E1434)));
    StrokeShape(img, Circle(c, c, c - 1), 1.0f, Outline());
    StrokeShape(img, Circle(c, c, c - 6), 1.0f, Rgb(0x20160A, 0.85f));
}

Image GameOverEmblem() {
    Image img(96, 96);
    EmblemDisc(img, 96);
    // A heart broken along a zigzag, its halves a little apart.
    const Sdf heart = HeartShape(48, 44, 26);
    const Sdf crack = Polygon({{46, 14}, {52, 30}, {42, 44}, {52, 58}, {46, 80}, {96, 80}, {96, 14}});
    const Sdf right_half = Intersect(heart, crack);
    const Sdf left_half = Subtract(heart, Offset(crack, 1.5f));
    for (const auto& [half, dx] : {std::pair<Sdf, float> {left_half, -2.0f}, {right_half, 2.0f}}) {
        const Sdf moved = [half = half, dx = dx](float x, float y) { return half(x - dx, y); };
        FillShape(img, moved, SphereShade(40, 34, 34, Rgb(0xB02438), 0.3f, 0.35f));
        StrokeShape(img, moved, 1.0f, Outline());
    }
    return img;
}

Image PauseEmblem() {
    Image img(96, 96);
    EmblemDisc(img, 96);
    for (float x : {30.0f, 54.0f}) Solid(img, RoundedBox(x, 28, x + 12, 68, 3), 0xFFF2C4, 0xC98A22, x, 28, x + 12, 68);
    return img;
}

Image TrophyEmblem() {
    Image img(96, 96);
    EmblemDisc(img, 96);
    const Sdf cup = Union(Intersect(Circle(48, 30, 20), Box(28, 30, 68, 52)), Box(28, 22, 68, 31));
    const Sdf handles = Union(Subtract(Circle(28, 36, 9), Circle(28, 36, 5)), Subtract(Circle(68, 36, 9), Circle(68, 36, 5)));
    const Sdf stem = Union(Box(44, 48, 52, 64), RoundedBox(34, 64, 62, 72, 2));
    Solid(img, Union(Union(cup, handles), stem), 0xFFF4B0, 0xB07A20, 28, 22, 68, 72);
    Solid(img, StarShape(48, 36, 8, 3.5f), 0xFFFFFF, 0xF0D060, 40, 28, 56, 44);
    return img;
}

Image DialogAtlas() {
    Image atlas(512, 256);
    atlas.Draw(PageArrow(false), 4, 4);
    atlas.Draw(PageArrow(true), 44, 4);
    atlas.Draw(HintPointer(), 84, 4);
    atlas.Draw(Divider(), 132, 12);
    for (int i = 0; i < kIconCount; ++i) {
        Image icon(48, 48);
        DrawIcon(icon, static_cast<IconKind>(i));
        DropShadow(icon, 1, 2, 1, Rgb(0x000000, 0.45f));
        atlas.Draw(icon, 4 + 56 * (i % 9), 48 + 56 * (i / 9));
    }
    atlas.Draw(GameOverEmblem(), 4, 160);
    atlas.Draw(PauseEmblem(), 108, 160);
    atlas.Draw(TrophyEmblem(), 212, 160);
    return atlas;
}

// The loading picture: three balls about to be lined up on a glass disc.
Image LoadingPicture() {
    Image img(128, 128);
    EmblemDisc(img, 128);
    Ball(img, 36, 70, 15, 0xE04040);
    Ball(img, 64, 70, 15, 0x50C850);
    Ball(img, 92, 70, 15, 0x40A0F0);
    const Sdf arc = Intersect(Subtract(Circle(50, 62, 22), Circle(50, 62, 18)), Box(20, 30, 80, 56));
    FillShape(img, arc, Rgb(0xFFE9A8));
    FillShape(img, Polygon({{66, 44}, {76, 54}, {63, 56}}), Rgb(0xFFE9A8));
    return img;
}

void GenerateGameDialogsArt(const std::string& data_dir) {
    WritePng(DataPath(data_dir, "Textures\\GUI\\game_dialogs.png"), DialogAtlas());
    WriteTga(DataPath(data_dir, "Textures\\Common\\128.tga"), LoadingPicture());
}

}  // namespace

ASSET_GENERATOR("game_dialogs", GenerateGameDialogsArt);

}  // namespace assetgen
