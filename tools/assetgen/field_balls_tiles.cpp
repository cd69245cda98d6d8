// The first ball and tile pictures of the field (Textures\Field\): a sheet of
// shaded balls, each colour with its own white mark so that kinds can be told
// apart without their colours (the kinds that charge a tool carry the tool's
// sign), and a sheet of tiles: the base tile of a cell
// and two puzzle layers. Settings\Bases\Balls.XML and Tiles.XML name the
// frames by the rectangles written in the comments; change both together.
#include <cmath>
#include <string>
#include <vector>

#include "draw.h"
#include "generator_registry.h"
#include "image_writer.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kFrame = 64;
constexpr int kColumns = 4;
constexpr float kPi = 3.14159265f;

// A regular polygon (or a star when `inner` is set) about the frame's centre.
Sdf Star(int points, float outer, float inner, float turn_degrees) {
    std::vector<Vec2> pts;
    const int n = inner > 0 ? points * 2 : points;
    for (int i = 0; i < n; ++i) {
        const float r = (inner > 0 && i % 2) ? inner : outer;
        const float a = (turn_degrees - 90.0f) * kPi / 180.0f + 2.0f * kPi * static_cast<float>(i) / static_cast<float>(n);
        pts.push_back({32.0f + r * std::cos(a), 32.0f + r * std::sin(a)});
    }
    return Polygon(pts);
}

struct BallKind {
    uint32_t rgb;
    Sdf mark;
};

// The signs of the tools that the first three kinds charge (Settings\Balls.xml,
// ResCredit): a ball that fills a tool's bar carries that tool's sign.
Sdf HammerSign() {
    const Sdf handle = RoundedBox(30.0f, 23.0f, 34.0f, 45.0f, 1.5f);
    const Sdf head = RoundedBox(21.0f, 17.0f, 43.0f, 25.0f, 2.0f);
    return Rotate(Union(handle, head), 32, 32, 35.0f);
}

Sdf FeatherSign() {
    const Sdf vane = Ellipse(32, 29, 5.5f, 12.0f);
    const Sdf quill = Capsule(32, 31, 32, 46, 1.2f);
    return Rotate(Union(vane, quill), 32, 32, 35.0f);
}

Sdf EggSign() { return Union(Ellipse(32, 35, 8.5f, 8.0f), Ellipse(32, 30, 6.5f, 10.0f)); }

// Frame i of balls.png (4 to a row, 2-pixel gutters): "66*(i%4) 66*(i/4)" plus 64.
std::vector<BallKind> BallKinds() {
    return {
        {0xE53935, HammerSign()},                                                       // 1 red: hammer
        {0x43A047, FeatherSign()},                                                      // 2 green: feather
        {0x1E88E5, EggSign()},                                                          // 3 blue: egg
        {0xFDD835, Star(4, 12.5f, 0, 0)},                                               // 4 yellow: diamond
        {0x8E24AA, Star(5, 12.5f, 5.5f, 0)},                                            // 5 purple: star
        {0xFB8C00, Union(Box(29, 20, 35, 44), Box(20, 29, 44, 35))},                    // 6 orange: cross
        {0x00ACC1, Subtract(Circle(32, 32, 11.0f), Circle(32, 32, 6.0f))},              // 7 cyan: ring
        {0xEC407A, Union(Box(20, 24, 44, 28.5f), Box(20, 35.5f, 44, 40))},              // 8 pink: two bars
        {0x9EA7AD, Star(6, 13.0f, 6.5f, 0)},                                            // 9 silver: the special ball
    };
}

Image Ball(const BallKind& kind) {
    Image img(kFrame, kFrame);
    const Sdf body = Circle(32, 32, 29.0f);
    FillShape(img, body, SphereShade(32, 32, 29.0f, Rgb(kind.rgb), 0.4f, 0.55f));
    StrokeShape(img, body, 1.2f, Shade(Rgb(kind.rgb), -0.6f));
    // The mark: a pale inlay with a dark rim, readable on every colour.
    FillShape(img, kind.mark, Rgb(0xFFFFFF, 0.85f));
    StrokeShape(img, kind.mark, 1.2f, Shade(Rgb(kind.rgb), -0.55f));
    return img;
}

// tiles.png (3 to a row, 2-pixel gutters): base tile "0 0 64 64", first
// puzzle layer "66 0 130 64", second "132 0 196 64".
Image BaseTile() {
    Image img(kFrame, kFrame);
    const Sdf tile = RoundedBox(1.0f, 1.0f, 63.0f, 63.0f, 6.0f);
    FillShape(img, tile, LinearGradient(0, 0, Rgb(0x3A4A6E), 64, 64, Rgb(0x1E2842)));
    Bevel(img, tile, 3.0f, 0.35f);
    return img;
}

Image PuzzleLayer(uint32_t light, uint32_t dark, float inset) {
    Image img(kFrame, kFrame);
    const Sdf plate = RoundedBox(inset, inset, 64.0f - inset, 64.0f - inset, 5.0f);
    FillShape(img, plate, LinearGradient(0, 0, Rgb(light, 0.92f), 64, 64, Rgb(dark, 0.92f)));
    Bevel(img, plate, 3.0f, 0.5f);
    StrokeShape(img, Offset(plate, -7.0f), 1.5f, Rgb(light, 0.6f));
    return img;
}

void GenerateFieldBallsTiles(const std::string& data_dir) {
    SpriteSheet balls(kFrame, kFrame, kColumns);
    for (const BallKind& kind : BallKinds()) balls.Add(Ball(kind));
    WritePng(DataPath(data_dir, "Textures\\Field\\balls.png"), balls.Compose());

    SpriteSheet tiles(kFrame, kFrame, 3);
    tiles.Add(BaseTile());
    tiles.Add(PuzzleLayer(0xF4C872, 0xB07A22, 3.0f));
    tiles.Add(PuzzleLayer(0x9EE6B8, 0x2E8A5A, 6.0f));
    WritePng(DataPath(data_dir, "Textures\\Field\\tiles.png"), tiles.Compose());
}

}  // namespace

ASSET_GENERATOR("field_balls_tiles", GenerateFieldBallsTiles);

}  // namespace assetgen
