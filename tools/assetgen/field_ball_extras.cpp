// The field's balls beyond the ordinary kinds (Textures\Field\): the bonus
// balls, the artefact fragment balls, the lock overlays of each strength and
// the substrates drawn under balls. Settings\Bases\Balls.XML,
// Settings\GameCFG.xml (BallLock) and Settings\Bonus.xml (Substrates) name the
// frames by the rectangles written in the comments; change them together.
//
// Every picture is told apart by its shape as well as its colour: the bonus
// balls by their emblem, the locks by their number of bars and of rivets on
// the padlock.
#include <string>
#include <vector>

#include "draw.h"
#include "generator_registry.h"
#include "image_writer.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kFrame = 64;
constexpr float kCentre = 32.0f;

const Rgba kGold = Rgb(0xF2C14E);
const Rgba kInk = Rgb(0x1A1C28);

// A dark glossy body with a golden rim: the look that says "bonus".
Image BonusBody() {
    Image img(kFrame, kFrame);
    const Sdf body = Circle(kCentre, kCentre, 29.0f);
    FillShape(img, body, SphereShade(kCentre, kCentre, 29.0f, Rgb(0x2C3350), 0.45f, 0.6f));
    StrokeShape(img, Circle(kCentre, kCentre, 27.5f), 2.6f, kGold);
    StrokeShape(img, body, 1.0f, kInk);
    return img;
}

// An emblem with a dark rim, filled with a gradient from `light` (top) to
// `dark` (bottom).
void Emblem(Image& img, const Sdf& shape, uint32_t light, uint32_t dark) {
    FillShape(img, Offset(shape, 1.6f), Rgba {kInk.r, kInk.g, kInk.b, 0.85f});
    FillShape(img, shape, LinearGradient(0, 14, Rgb(light), 0, 50, Rgb(dark)));
    Bevel(img, shape, 1.5f, 0.35f);
}

// A double-headed arrow across the ball, horizontal.
Sdf DoubleArrow() {
    const Sdf shaft = Box(18, 29, 46, 35);
    const Sdf left = Polygon({{8, 32}, {21, 20}, {21, 44}});
    const Sdf right = Polygon({{56, 32}, {43, 20}, {43, 44}});
    return Union(shaft, Union(left, right));
}

Sdf Dynamite() {
    const Sdf stick = RoundedBox(24, 22, 40, 52, 3.0f);
    const Sdf band = Union(Box(23, 28, 41, 31), Box(23, 43, 41, 46));
    return Rotate(Union(stick, band), kCentre, kCentre + 5, 18.0f);
}

Sdf Snowflake() {
    Sdf flake = Circle(kCentre, kCentre, 3.0f);
    for (float degrees : {0.0f, 60.0f, 120.0f}) {
        Sdf arm = Capsule(kCentre, 15, kCentre, 49, 2.2f);
        // Two twigs near each end of the arm.
        arm = Union(arm, Capsule(kCentre, 21, kCentre - 5, 16, 1.6f));
        arm = Union(arm, Capsule(kCentre, 21, kCentre + 5, 16, 1.6f));
        arm = Union(arm, Capsule(kCentre, 43, kCentre - 5, 48, 1.6f));
        arm = Union(arm, Capsule(kCentre, 43, kCentre + 5, 48, 1.6f));
        flake = Union(flake, Rotate(arm, kCentre, kCentre, degrees));
    }
    return flake;
}

Sdf Bolt() { return Polygon({{37, 8}, {19, 35}, {30, 35}, {25, 56}, {46, 27}, {34, 27}, {42, 8}}); }

// Bonus balls, bonus_balls.png (3 to a row, 2-pixel gutters): frame i at
// "66*(i%3) 66*(i/3)" plus 64. Frames in bonus-type order 1..6.
std::vector<Image> BonusBalls() {
    std::vector<Image> frames;
    Image burner_row = BonusBody();  // 1: the row burner
    Emblem(burner_row, DoubleArrow(), 0xFFE08A, 0xF0641E);
    frames.push_back(burner_row);

    Image dynamite = BonusBody();  // 2: dynamite with a lit fuse
    Emblem(dynamite, Dynamite(), 0xFF6B5B, 0xB3161E);
    StrokeShape(dynamite, Capsule(38.5f, 20, 44, 12, 0.1f), 2.0f, Rgb(0xE8D9B0));
    FillShape(dynamite, Circle(45, 11, 4.5f), RadialGradient(45, 11, 4.5f, Rgb(0xFFFFFF), Rgb(0xFFB000, 0.2f)));
    frames.push_back(dynamite);

    Image slowdown = BonusBody();  // 3: the slow-down snowflake
    Emblem(slowdown, Snowflake(), 0xE6FBFF, 0x5FC4F0);
    frames.push_back(slowdown);

    Image burner_column = BonusBody();  // 4: the column burner
    Emblem(burner_column, Rotate(DoubleArrow(), kCentre, kCentre, 90.0f), 0xFFE08A, 0xF0641E);
    frames.push_back(burner_column);

    Image lightning = BonusBody();  // 5: lightning
    Emblem(lightning, Bolt(), 0xFFF6A8, 0xF5B800);
    frames.push_back(lightning);

    Image mixer = BonusBody();  // 6: the mixer, three balls on a turning ring
    Emblem(mixer, Subtract(Circle(kCentre, kCentre, 15.0f), Circle(kCentre, kCentre, 11.0f)), 0xFFFFFF, 0xB8C2D8);
    const uint32_t colours[] = {0xE53935, 0x43A047, 0x1E88E5};
    for (int i = 0; i < 3; ++i) {
        const Sdf dot = Rotate(Circle(kCentre, kCentre - 13, 6.0f), kCentre, kCentre, 120.0f * static_cast<float>(i));
        FillShape(mixer, Offset(dot, 1.2f), kInk);
        FillShape(mixer, dot, Rgb(colours[i]));
        Bevel(mixer, dot, 1.5f, 0.4f);
    }
    frames.push_back(mixer);
    return frames;
}

// A puzzle piece: a square with a knob on top and on the right and notches
// on the left and at the bottom.
Sdf PuzzlePiece() {
    Sdf piece = Box(21, 21, 43, 43);
    piece = Union(piece, Circle(kCentre, 18, 5.0f));
    piece = Union(piece, Circle(46, kCentre, 5.0f));
    piece = Subtract(piece, Circle(21, kCentre, 4.5f));
    piece = Subtract(piece, Circle(kCentre, 43, 4.5f));
    return piece;
}

// Fragment balls, fragment_balls.png (3 to a row, 2-pixel gutters): frame i at
// "66*(i%3) 66*(i/3)" plus 64; one per artefact, a bronze ball carrying a
// puzzle piece of that artefact's gem colour.
std::vector<Image> FragmentBalls() {
    const uint32_t gems[][2] = {
        {0xFF8A80, 0xC62828}, {0x9CF2B0, 0x1B8A4A}, {0x9CCBFF, 0x1957B8},
        {0xE3B4FF, 0x7B2FB0}, {0xFFF0A0, 0xD49A00}, {0x9FF5EE, 0x11857C},
    };
    std::vector<Image> frames;
    for (const auto& gem : gems) {
        Image img(kFrame, kFrame);
        const Sdf body = Circle(kCentre, kCentre, 29.0f);
        FillShape(img, body, SphereShade(kCentre, kCentre, 29.0f, Rgb(0x9A6A2E), 0.45f, 0.5f));
        StrokeShape(img, Circle(kCentre, kCentre, 26.5f), 1.4f, Rgb(0xF7D98B, 0.9f));
        StrokeShape(img, body, 1.0f, Rgb(0x3A250E));
        Emblem(img, PuzzlePiece(), gem[0], gem[1]);
        frames.push_back(img);
    }
    return frames;
}

// Lock overlays, ball_locks.png (4 to a row, 2-pixel gutters): frame i at
// "66*i 0" plus 64, for a lock that takes i + 1 more hits. A steel rim and a
// padlock with i + 1 rivets; from two hits on, bars across the ball (two, then
// four), the centre left free so the ball's mark stays readable.
std::vector<Image> LockOverlays() {
    const Rgba steel = Rgb(0xC3CCD8);
    const Rgba dark = Rgb(0x2A303C);
    const Sdf ball = Circle(kCentre, kCentre, 28.0f);
    std::vector<Image> frames;
    for (int strength = 0; strength < 4; ++strength) {
        Image img(kFrame, kFrame);
        const float bar = strength == 3 ? 3.2f : 2.4f;
        Sdf bars = Circle(-100, -100, 1.0f);  // none
        if (strength >= 1)
            bars = Union(Box(18 - bar, 0, 18 + bar, 64), Box(46 - bar, 0, 46 + bar, 64));
        if (strength >= 2)
            bars = Union(bars, Union(Box(0, 18 - bar, 64, 18 + bar), Box(0, 46 - bar, 64, 46 + bar)));
        bars = Intersect(bars, ball);
        const Sdf rim = Subtract(Circle(kCentre, kCentre, 30.5f), Circle(kCentre, kCentre, 26.5f));
        const Sdf cage = Union(rim, bars);
        FillShape(img, Offset(cage, 1.2f), dark);
        FillShape(img, cage, LinearGradient(0, 0, Shade(steel, 0.4f), 64, 64, Shade(steel, -0.35f)));
        if (strength == 3) {
            for (float x : {18.0f, 46.0f})
                for (float y : {18.0f, 46.0f}) {
                    FillShape(img, Circle(x, y, 3.6f), dark);
                    FillShape(img, Circle(x, y, 2.6f), steel);
                }
        }
        // The padlock at the lower right.
        const Sdf shackle = Intersect(Subtract(Circle(50, 43, 7.0f), Circle(50, 43, 4.2f)), Box(40, 30, 60, 44));
        const Sdf body = RoundedBox(40, 42, 60, 60, 3.0f);
        FillShape(img, Offset(Union(shackle, body), 1.4f), dark);
        FillShape(img, shackle, steel);
        FillShape(img, body, LinearGradient(0, 42, Rgb(0xFFE07A), 0, 60, Rgb(0xC08A10)));
        Bevel(img, body, 1.5f, 0.45f);
        for (int i = 0; i <= strength; ++i) {
            const float x = 50.0f + (static_cast<float>(i) - static_cast<float>(strength) / 2.0f) * 4.4f;
            FillShape(img, Circle(x, 51.5f, 1.6f), dark);
        }
        frames.push_back(img);
    }
    return frames;
}

// Substrates, ball_substrates.png (2 to a row, 2-pixel gutters): a golden glow
// under every bonus ball "0 0 64 64"; a white halo that the ball's substrate
// colour tints "66 0 130 64". Both are drawn larger than the ball, so only
// their soft ring outside the ball shows.
Image GlowRing(const Rgba& colour, const Rgba& fill) {
    Image img(kFrame, kFrame);
    FillShape(img, Circle(kCentre, kCentre, 31.0f), RadialGradient(kCentre, kCentre, 31.0f, fill, Rgba {}));
    Image ring(kFrame, kFrame);
    FillShape(ring, Subtract(Circle(kCentre, kCentre, 26.5f), Circle(kCentre, kCentre, 19.0f)), colour);
    img.Draw(Blur(ring, 3), 0, 0);
    return img;
}

std::vector<Image> Substrates() {
    return {GlowRing(Rgb(0xFFD45A), Rgb(0xFFF1B8, 0.6f)), GlowRing(Rgb(0xFFFFFF, 0.9f), Rgb(0xFFFFFF, 0.3f))};
}

void WriteSheet(const std::string& data_dir, const char* name, int columns, const std::vector<Image>& frames) {
    SpriteSheet sheet(kFrame, kFrame, columns);
    for (const Image& frame : frames) sheet.Add(frame);
    WritePng(DataPath(data_dir, name), sheet.Compose());
}

void GenerateFieldBallExtras(const std::string& data_dir) {
    WriteSheet(data_dir, "Textures\\Field\\bonus_balls.png", 3, BonusBalls());
    WriteSheet(data_dir, "Textures\\Field\\fragment_balls.png", 3, FragmentBalls());
    WriteSheet(data_dir, "Textures\\Field\\ball_locks.png", 4, LockOverlays());
    WriteSheet(data_dir, "Textures\\Field\\ball_substrates.png", 2, Substrates());
}

}  // namespace

ASSET_GENERATOR("field_ball_extras", GenerateFieldBallExtras);

}  // namespace assetgen
