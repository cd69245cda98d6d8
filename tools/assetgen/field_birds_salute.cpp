// The birds of the field and of the life-lost dialog, and the bottom-row
// salute. One sheet of bird poses (Textures\Birds\bird.png, 64 x 64 frames)
// with an animation file per bird state beside it, and one sheet of salute
// sprites (Textures\Field\salute.png) with its two play-once animations.
// Settings\birds.xml and the "//Common/Salute" node of
// Settings\Bases\Common.xml name these files; change them together.
//
// The bird is a round songbird seen from the front: a blue body with a cream
// belly, an orange beak, a small crest, wings at its sides; a dark outline
// keeps it readable over balls of every colour at 36 pixels.
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "draw.h"
#include "generator_registry.h"
#include "image_writer.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kFrame = 64;
constexpr int kBirdColumns = 10;
constexpr float kPi = 3.14159265f;

// Palette.
const Rgba kBody = Rgb(0x3D8BD9);
const Rgba kBodyDark = Rgb(0x1F4F8F);
const Rgba kBelly = Rgb(0xFFF3D6);
const Rgba kBeak = Rgb(0xFFA62B);
const Rgba kBeakDark = Rgb(0xB8600A);
const Rgba kCheek = Rgb(0xFF8FA3, 0.55f);
const Rgba kPupil = Rgb(0x1B1B2F);
const Rgba kInk = Rgb(0x10233F);
const Rgba kWhite = Rgb(0xFFFFFF);
const Rgba kAlarm = Rgb(0xE53935);
const Rgba kGold = Rgb(0xFFD54F);
const Rgba kWater = Rgb(0x81D4FA, 0.9f);

enum class Eyes { Open, Closed, Wide, Dizzy, Happy, Sad, Half };
enum class Mark { None, Alarm, Sleep, Stars, Sparkles, Sweat, Tear };

struct Pose {
    float wing = 15;     // degrees from hanging down; raised wings reach 110 and more
    float dy = 0;        // the whole bird moved down (negative: up)
    float squash = 1;    // height scale about the feet (the width follows inversely)
    float lean = 0;      // turned about the feet, clockwise
    Eyes eyes = Eyes::Open;
    float look_x = 0, look_y = 0;
    bool beak_open = false;
    bool feet = true;
    Mark mark = Mark::None;
    float phase = 0;     // moves the mark (0..1)
};

// The point the bird stands on; squash and lean turn about it.
constexpr float kFootX = 32, kFootY = 58;

// A shape of the unposed bird placed by the pose.
Sdf Place(const Sdf& shape, const Pose& p) {
    const float sx = 1.0f / p.squash, sy = p.squash;
    Sdf moved = [shape, sx, sy, dy = p.dy](float x, float y) {
        const float bx = kFootX + (x - kFootX) / sx;
        const float by = kFootY + (y - kFootY - dy) / sy;
        return shape(bx, by) * std::min(sx, sy);
    };
    return p.lean == 0 ? moved : Rotate(moved, kFootX, kFootY + p.dy, p.lean);
}

// A paint of the unposed bird placed by the pose (moved only: shading needs no more).
Paint PlacePaint(const Paint& paint, const Pose& p) {
    return [paint, dy = p.dy](float x, float y) { return paint(x, y - dy); };
}

Sdf Star(float cx, float cy, int points, float outer, float inner, float turn_degrees) {
    std::vector<Vec2> pts;
    for (int i = 0; i < points * 2; ++i) {
        const float r = i % 2 ? inner : outer;
        const float a = (turn_degrees - 90.0f) * kPi / 180.0f + kPi * static_cast<float>(i) / static_cast<float>(points);
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return Polygon(pts);
}

// A wing hanging from its shoulder, turned outwards by `degrees`.
Sdf Wing(float shoulder_x, float shoulder_y, float degrees, bool left) {
    const Sdf hanging = Ellipse(shoulder_x, shoulder_y + 10.5f, 6.5f, 12.0f);
    return Rotate(hanging, shoulder_x, shoulder_y, left ? degrees : -degrees);
}

void DrawWings(Image& img, const Pose& p) {
    for (bool left : {true, false}) {
        const float x = left ? 18.5f : 45.5f;
        const Sdf wing = Place(Wing(x, 33.0f, p.wing, left), p);
        FillShape(img, wing, PlacePaint(LinearGradient(0, 28, kBody, 0, 56, kBodyDark), p));
        // A feather line inside the wing's edge.
        StrokeShape(img, Offset(wing, -2.8f), 0.9f, Shade(kBodyDark, -0.2f));
    }
}

Sdf BodyShape() { return Union(Ellipse(32, 40, 17, 15.5f), Circle(32, 25, 13)); }

void DrawBody(Image& img, const Pose& p) {
    // Tail feathers behind the body, legs under it.
    FillShape(img, Place(Polygon({{25, 50}, {39, 50}, {45, 59}, {32, 55}, {19, 59}}), p), kBodyDark);
    if (p.feet) {
        for (float fx : {27.0f, 37.0f}) {
            FillShape(img, Place(Union(Capsule(fx, 52, fx, 57.5f, 1.4f), Capsule(fx - 3, 58, fx + 3, 58, 1.2f)), p),
                      kBeak);
        }
    }
    const Sdf body = Place(BodyShape(), p);
    FillShape(img, body, PlacePaint(SphereShade(30, 31, 24, kBody, 0.5f, 0.3f), p));
    FillShape(img, Intersect(body, Place(Ellipse(32, 44, 11.5f, 10), p)), PlacePaint(RadialGradient(30, 40, 14, kWhite, kBelly), p));
    for (float tip : {-4.0f, 0.0f, 4.0f})
        FillShape(img, Place(Capsule(32, 13.5f, 32 + tip, 5.5f + std::fabs(tip) * 0.4f, 1.7f), p), kBodyDark);
    for (float cx : {22.0f, 42.0f}) FillShape(img, Place(Ellipse(cx, 30, 3.4f, 2.2f), p), kCheek);
}

// An arc of a ring about (cx, cy): the lower half (`down`) or the upper one.
Sdf Arc(float cx, float cy, float r, float width, bool down) {
    const Sdf ring = Subtract(Circle(cx, cy, r + width / 2), Circle(cx, cy, r - width / 2));
    return Intersect(ring, down ? Box(cx - r - 2, cy, cx + r + 2, cy + r + 2) : Box(cx - r - 2, cy - r - 2, cx + r + 2, cy));
}

void DrawEye(Image& img, const Pose& p, float cx, float cy, bool left) {
    const float lx = p.look_x, ly = p.look_y;
    switch (p.eyes) {
        case Eyes::Closed:
            FillShape(img, Place(Arc(cx, cy - 1.5f, 3.4f, 1.6f, true), p), kPupil);
            return;
        case Eyes::Happy:
            FillShape(img, Place(Arc(cx, cy + 1.5f, 3.4f, 1.7f, false), p), kPupil);
            return;
        case Eyes::Dizzy:
            FillShape(img, Place(Union(Capsule(cx - 3, cy - 3, cx + 3, cy + 3, 0.9f), Capsule(cx - 3, cy + 3, cx + 3, cy - 3, 0.9f)), p),
                      kPupil);
            return;
        default:
            break;
    }
    const float white = p.eyes == Eyes::Wide ? 5.2f : 4.3f;
    const float pupil = p.eyes == Eyes::Wide ? 1.9f : 2.5f;
    FillShape(img, Place(Circle(cx, cy, white), p), kWhite);
    StrokeShape(img, Place(Circle(cx, cy, white), p), 0.8f, Shade(kBodyDark, -0.3f));
    FillShape(img, Place(Circle(cx + lx, cy + ly, pupil), p), kPupil);
    FillShape(img, Place(Circle(cx + lx - 0.8f, cy + ly - 1.0f, 0.9f), p), kWhite);
    if (p.eyes == Eyes::Half) FillShape(img, Place(Intersect(Circle(cx, cy, white + 0.6f), Box(cx - 7, cy - 7, cx + 7, cy)), p), kBody);
    if (p.eyes == Eyes::Sad) {
        const float out = left ? -1.0f : 1.0f;
        FillShape(img, Place(Capsule(cx - 3.5f * out, cy - 7.0f, cx + 3.5f * out, cy - 5.0f, 1.0f), p), kInk);
    }
}

void DrawFace(Image& img, const Pose& p) {
    DrawEye(img, p, 26.5f, 23, true);
    DrawEye(img, p, 37.5f, 23, false);
    if (p.beak_open) {
        FillShape(img, Place(Ellipse(32, 31.5f, 3.2f, 2.4f), p), Rgb(0x8E1B1B));
        const Sdf upper = Place(Polygon({{28.3f, 27.3f}, {35.7f, 27.3f}, {32, 31}}), p);
        const Sdf lower = Place(Polygon({{29.3f, 32.5f}, {34.7f, 32.5f}, {32, 36}}), p);
        for (const Sdf& half : {upper, lower}) {
            FillShape(img, half, kBeak);
            StrokeShape(img, half, 0.8f, kBeakDark);
        }
    } else {
        const Sdf beak = Place(Polygon({{28.3f, 27.5f}, {35.7f, 27.5f}, {32, 33.5f}}), p);
        FillShape(img, beak, kBeak);
        StrokeShape(img, beak, 0.8f, kBeakDark);
    }
}

// A letter Z of height h with its top-left at (x, y).
Sdf LetterZ(float x, float y, float h) {
    const float w = h * 0.8f, t = h * 0.11f;
    return Union(Union(Capsule(x, y, x + w, y, t), Capsule(x + w, y, x, y + h, t)), Capsule(x, y + h, x + w, y + h, t));
}

void FillInked(Image& img, const Sdf& shape, const Rgba& color) {
    FillShape(img, Offset(shape, 1.1f), kInk);
    FillShape(img, shape, color);
}

void DrawMark(Image& img, const Pose& p) {
    const float t = p.phase;
    switch (p.mark) {
        case Mark::Alarm: {
            const float s = 0.8f + 0.35f * std::sin(t * kPi);
            FillInked(img, Union(Capsule(52, 4 + 2 * (1 - s), 52, 14, 2.3f * s), Circle(52, 19.5f, 2.3f * s)), kAlarm);
            break;
        }
        case Mark::Sleep:
            for (int k = 0; k < 2; ++k) {
                const float u = std::fmod(t + 0.5f * static_cast<float>(k), 1.0f);
                FillInked(img, LetterZ(45 + 6 * u, 16 - 14 * u, 4.5f + 3.5f * u), Rgb(0xE3F2FD, 1.0f - 0.5f * u));
            }
            break;
        case Mark::Stars:
            for (int k = 0; k < 3; ++k) {
                const float a = 2 * kPi * (t + static_cast<float>(k) / 3.0f);
                FillInked(img, Star(32 + 15 * std::cos(a), 8 + 4 * std::sin(a), 5, 4.0f, 1.8f, t * 140.0f), kGold);
            }
            break;
        case Mark::Sparkles:
            for (int k = 0; k < 3; ++k) {
                const float u = std::fmod(t + static_cast<float>(k) / 3.0f, 1.0f);
                const float size = 4.5f * std::sin(u * kPi) + 0.5f;
                const float x = k == 0 ? 8.0f : k == 1 ? 56.0f : 50.0f, y = k == 0 ? 16.0f : k == 1 ? 28.0f : 6.0f;
                FillShape(img, Star(x, y - 4 * u, 4, size, size * 0.3f, 0), Rgb(0xFFF59D));
            }
            break;
        case Mark::Sweat:
            FillInked(img, Union(Circle(48, 18 + 3 * t, 2.4f), Polygon({{46.2f, 17.2f + 3 * t}, {49.8f, 17.2f + 3 * t}, {48, 12 + 3 * t}})),
                      kWater);
            break;
        case Mark::Tear:
            FillShape(img, Place(Union(Circle(24, 29 + 7 * t, 1.8f), Polygon({{22.6f, 28.6f + 7 * t}, {25.4f, 28.6f + 7 * t}, {24, 25 + 7 * t}})), p),
                      kWater);
            break;
        case Mark::None:
            break;
    }
}

Image DrawBird(const Pose& p) {
    Image img(kFrame, kFrame);
    const bool raised = p.wing > 40;
    if (raised) DrawWings(img, p);  // above the shoulders: behind the body
    DrawBody(img, p);
    if (!raised) DrawWings(img, p);
    DrawFace(img, p);
    Outline(img, 1.3f, kInk);
    DrawMark(img, p);
    return img;
}

// ---------------------------------------------------------------- animations

struct Frame {
    int index;
    int delay;
};

// One animation of a sheet: its frames (indexes into the sheet) and delays.
std::string AnimationXml(const SpriteSheet& sheet, const std::vector<Frame>& frames, bool once, const char* comment) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<!-- ";
    xml += comment;
    xml += " -->\n<Animation speed=\"4\"";
    xml += once ? " animate_once=\"1\" start_frame=\"0\">\n" : " start_frame=\"0\">\n";
    for (const Frame& f : frames)
        xml += "  <Frame tex_rect=\"" + sheet.TexRect(f.index) + "\" delay=\"" + std::to_string(f.delay) + "\"/>\n";
    return xml + "</Animation>\n";
}

struct BirdAnimation {
    const char* name;
    const char* comment;
    bool once;
    std::vector<std::pair<Pose, int>> poses;  // pose and its delay in ticks
};

Pose P(std::function<void(Pose&)> set) {
    Pose p;
    set(p);
    return p;
}

// A flap cycle of four frames.
std::vector<std::pair<Pose, int>> Flap(const Pose& base, float low, float high, int delay, float bob) {
    std::vector<std::pair<Pose, int>> out;
    const float wings[] = {low, (low + high) / 2, high, (low + high) / 2};
    const float dys[] = {0, -bob / 2, -bob, -bob / 2};
    for (int i = 0; i < 4; ++i) {
        Pose p = base;
        p.wing = wings[i];
        p.dy = base.dy + dys[i];
        out.emplace_back(p, delay);
    }
    return out;
}

std::vector<BirdAnimation> BirdAnimations() {
    std::vector<BirdAnimation> list;
    const Pose idle;
    list.push_back({"perched", "Perched on the ball below: looks about and blinks.", false,
                    {{idle, 50},
                     {P([](Pose& p) { p.look_x = -1.5f; }), 30},
                     {P([](Pose& p) { p.eyes = Eyes::Closed; }), 6},
                     {idle, 40},
                     {P([](Pose& p) { p.look_x = 1.5f; }), 30},
                     {P([](Pose& p) { p.eyes = Eyes::Closed; }), 6}}});
    list.push_back({"hover", "Nothing to stand on: hovers over its cell, looking down.", false,
                    Flap(P([](Pose& p) { p.look_y = 1.5f; }), 40, 110, 4, 2)});
    list.push_back({"fly_in", "Flying in from above the screen.", false,
                    Flap(P([](Pose& p) { p.look_y = 1.0f; }), 15, 125, 3, 3)});
    list.push_back({"land", "Folds its wings on arrival.", true,
                    {{P([](Pose& p) { p.wing = 110; p.dy = -3; }), 4},
                     {P([](Pose& p) { p.wing = 60; p.dy = -1; }), 4},
                     {P([](Pose& p) { p.wing = 20; p.squash = 0.88f; p.dy = 1; }), 5},
                     {P([](Pose& p) { p.squash = 1.05f; }), 5},
                     {idle, 6}}});
    {
        BirdAnimation alarm {"column_full", "A row found its column full: it squawks in alarm.", true, {}};
        for (int i = 0; i < 8; ++i)
            alarm.poses.push_back({P([i](Pose& p) {
                                       p.eyes = Eyes::Wide;
                                       p.beak_open = i % 2 == 0;
                                       p.wing = i % 2 ? 70 : 100;
                                       p.lean = i % 2 ? -7.0f : 7.0f;
                                       p.mark = Mark::Alarm;
                                       p.phase = static_cast<float>(i) / 7.0f;
                                   }),
                                   4});
        list.push_back(std::move(alarm));
    }
    {
        BirdAnimation trapped {"trapped", "Trapped on a full column: flaps in distress.", false, {}};
        for (int i = 0; i < 4; ++i)
            trapped.poses.push_back({P([i](Pose& p) {
                                         p.eyes = Eyes::Wide;
                                         p.beak_open = i % 2 == 1;
                                         p.wing = i % 2 ? 35 : 80;
                                         p.lean = i < 2 ? -3.0f : 3.0f;
                                         p.mark = i % 2 ? Mark::Sweat : Mark::Alarm;
                                         p.phase = static_cast<float>(i % 2);
                                     }),
                                     6});
        list.push_back(std::move(trapped));
    }
    {
        BirdAnimation struck {"struck", "Struck by the hammer: flattened, then dizzy.", true, {}};
        const float squash[] = {0.7f, 0.8f, 0.92f, 1.04f, 1.0f};
        for (int i = 0; i < 12; ++i)
            struck.poses.push_back({P([&, i](Pose& p) {
                                        p.squash = squash[std::min(i, 4)];
                                        p.eyes = Eyes::Dizzy;
                                        p.wing = 35;
                                        p.lean = 4.0f * std::sin(static_cast<float>(i) * 1.3f);
                                        p.mark = Mark::Stars;
                                        p.phase = static_cast<float>(i) / 12.0f;
                                    }),
                                    4});
        list.push_back(std::move(struck));
    }
    {
        BirdAnimation rest {"resting", "Calmed by the slow-down: dozes.", false, {}};
        for (int i = 0; i < 6; ++i)
            rest.poses.push_back({P([i](Pose& p) {
                                      p.eyes = Eyes::Closed;
                                      p.squash = i % 2 ? 0.97f : 1.0f;
                                      p.wing = 10;
                                      p.mark = Mark::Sleep;
                                      p.phase = static_cast<float>(i) / 6.0f;
                                  }),
                                  10});
        list.push_back(std::move(rest));
    }
    list.push_back({"waking", "Wakes up and stretches.", true,
                    {{P([](Pose& p) { p.eyes = Eyes::Half; p.wing = 10; }), 10},
                     {P([](Pose& p) { p.wing = 60; p.squash = 1.06f; p.beak_open = true; }), 8},
                     {P([](Pose& p) { p.wing = 120; p.squash = 1.08f; p.beak_open = true; }), 10},
                     {P([](Pose& p) { p.wing = 60; }), 6},
                     {idle, 6}}});
    {
        BirdAnimation joy {"celebrate", "The level is won: hops and waves its wings.", false, {}};
        for (int i = 0; i < 4; ++i)
            joy.poses.push_back({P([i](Pose& p) {
                                     p.eyes = Eyes::Happy;
                                     p.beak_open = true;
                                     p.wing = i % 2 ? 145 : 105;
                                     p.dy = i % 2 ? -5.0f : 0.0f;
                                     p.feet = i % 2 == 0;
                                     p.mark = Mark::Sparkles;
                                     p.phase = static_cast<float>(i) / 4.0f;
                                 }),
                                 6});
        BirdAnimation once = joy;
        once.name = "celebrate_once";
        once.comment = "A short cheer: the egg freed it or paid for it.";
        once.once = true;
        for (int i = 0; i < 4; ++i) once.poses.push_back(joy.poses[static_cast<size_t>(i)]);
        once.poses.push_back({idle, 6});
        list.push_back(std::move(joy));
        list.push_back(std::move(once));
    }
    list.push_back({"fly_away", "Sent off at the level end: flies away up and to the right.", false,
                    Flap(P([](Pose& p) { p.lean = 18; p.feet = false; p.eyes = Eyes::Happy; }), 20, 130, 3, 3)});
    // The life-lost dialog.
    {
        BirdAnimation arrive {"dialog_arrive", "Life-lost dialog: drops in from above and sits down.", true, {}};
        const float dys[] = {-44, -34, -24, -15, -7, -2, 0, 0};
        const float wings[] = {120, 60, 120, 60, 110, 60, 20, 15};
        for (int i = 0; i < 8; ++i)
            arrive.poses.push_back({P([&, i](Pose& p) {
                                        p.dy = dys[i];
                                        p.wing = wings[i];
                                        p.squash = i == 6 ? 0.88f : 1.0f;
                                        p.eyes = i < 6 ? Eyes::Open : Eyes::Sad;
                                        p.look_y = i < 6 ? 1.5f : 1.0f;
                                    }),
                                    4});
        list.push_back(std::move(arrive));
        BirdAnimation sad {"dialog_sad", "Life-lost dialog: sits and grieves.", false, {}};
        for (int i = 0; i < 4; ++i)
            sad.poses.push_back({P([i](Pose& p) {
                                     p.eyes = i == 3 ? Eyes::Closed : Eyes::Sad;
                                     p.look_y = 1.5f;
                                     p.wing = 8;
                                     p.lean = i % 2 ? 2.0f : -2.0f;
                                     p.mark = Mark::Tear;
                                     p.phase = static_cast<float>(i) / 3.0f;
                                 }),
                                 i == 3 ? 8 : 18});
        list.push_back(std::move(sad));
    }
    return list;
}

void GenerateBirds(const std::string& data_dir) {
    SpriteSheet sheet(kFrame, kFrame, kBirdColumns);
    // Frame 0 stays empty: the dialog's birds wait there, unseen, for their turn.
    sheet.Add(Image(kFrame, kFrame));
    const std::vector<BirdAnimation> animations = BirdAnimations();
    std::vector<std::vector<Frame>> frames;
    for (const BirdAnimation& a : animations) {
        frames.emplace_back();
        for (const auto& [pose, delay] : a.poses) frames.back().push_back({sheet.Add(DrawBird(pose)), delay});
    }
    WritePng(DataPath(data_dir, "Textures\\Birds\\bird.png"), sheet.Compose());
    for (size_t i = 0; i < animations.size(); ++i)
        WriteText(DataPath(data_dir, std::string("Textures\\Birds\\") + animations[i].name + ".xml"),
                  AnimationXml(sheet, frames[i], animations[i].once, animations[i].comment));
    WriteText(DataPath(data_dir, "Textures\\Birds\\dialog_wait.xml"),
              AnimationXml(sheet, {{0, 4}}, false, "Life-lost dialog: not arrived yet (an empty frame)."));
}

// ---------------------------------------------------------------- salute

// A firework burst: sparks flying out from the centre with short trails,
// shifting through gold, rose and sky blue, fading as they slow.
Image SaluteBurst(float t) {
    Image img(kFrame, kFrame);
    const Rgba colors[] = {Rgb(0xFFD54F), Rgb(0xFF6F91), Rgb(0x4FC3F7)};
    const float reach = 6.0f + 24.0f * (1.0f - (1.0f - t) * (1.0f - t));
    const float fade = 1.0f - t * t;
    if (t < 0.3f) FillShape(img, Circle(32, 32, 9.0f * (1.0f - t / 0.3f) + 1.0f), Rgb(0xFFFDE7, 0.9f));
    for (int k = 0; k < 14; ++k) {
        const float a = 2 * kPi * static_cast<float>(k) / 14.0f + 0.2f * static_cast<float>(k % 2);
        const float r = reach * (k % 2 ? 0.82f : 1.0f);
        const float c = std::cos(a), s = std::sin(a);
        Rgba color = colors[k % 3];
        color.a = fade;
        FillShape(img, Capsule(32 + c * r * 0.55f, 32 + s * r * 0.55f, 32 + c * r, 32 + s * r, 1.2f), Rgba {color.r, color.g, color.b, fade * 0.6f});
        FillShape(img, Circle(32 + c * r, 32 + s * r, 2.2f * (1.0f - 0.5f * t)), color);
    }
    return img;
}

// A golden star that rises, turns and fades, trailing glitter.
Image SaluteStar(float t) {
    Image img(kFrame, kFrame);
    const float y = 46.0f - 28.0f * t;
    const float alpha = t < 0.7f ? 1.0f : 1.0f - (t - 0.7f) / 0.3f;
    for (int k = 1; k <= 3; ++k) {
        const float gy = y + 7.0f * static_cast<float>(k);
        if (gy < 60) FillShape(img, Circle(32 + 3.0f * std::sin(static_cast<float>(k) * 2.1f + t * 9), gy, 1.6f), Rgb(0xFFF59D, alpha * (1.0f - 0.25f * k)));
    }
    const Sdf star = Star(32, y, 5, 11.0f - 3.0f * t, 4.6f - 1.2f * t, t * 144.0f);
    FillShape(img, Offset(star, 1.2f), Rgb(0x8D5A00, alpha));
    FillShape(img, star, [alpha, y](float, float py) {
        Rgba c = Mix(Rgb(0xFFF8C4), Rgb(0xFFB300), Clamp01((py - y + 10.0f) / 20.0f));
        c.a = alpha;
        return c;
    });
    return img;
}

void GenerateSalute(const std::string& data_dir) {
    constexpr int kFrames = 8;
    SpriteSheet sheet(kFrame, kFrame, kFrames);
    std::vector<Frame> burst, star;
    for (int i = 0; i < kFrames; ++i) burst.push_back({sheet.Add(SaluteBurst(static_cast<float>(i) / (kFrames - 1))), 4});
    for (int i = 0; i < kFrames; ++i) star.push_back({sheet.Add(SaluteStar(static_cast<float>(i) / (kFrames - 1))), 5});
    WritePng(DataPath(data_dir, "Textures\\Field\\salute.png"), sheet.Compose());
    WriteText(DataPath(data_dir, "Textures\\Field\\salute_burst.xml"),
              AnimationXml(sheet, burst, true, "Bottom-row salute: a firework burst over the cell, played once."));
    WriteText(DataPath(data_dir, "Textures\\Field\\salute_star.xml"),
              AnimationXml(sheet, star, true, "Bottom-row salute: a star rising from the cell, played once."));
}

void GenerateBirdsAndSalute(const std::string& data_dir) {
    GenerateBirds(data_dir);
    GenerateSalute(data_dir);
}

}  // namespace

ASSET_GENERATOR("field_birds_salute", GenerateBirdsAndSalute);

}  // namespace assetgen
