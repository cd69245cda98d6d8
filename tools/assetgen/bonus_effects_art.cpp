// The pictures the bonuses draw themselves, under Textures\Bonus\: the
// burner's four travelling flames and the lightning's bolt and joint flash,
// each a looping frame sheet with its animation file. Settings\Bonus.xml
// names these files; change them together.
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "generator_registry.h"
#include "image_writer.h"
#include "sprite_sheet.h"
#include "value_noise.h"

namespace assetgen {

namespace {

constexpr int kFlameSize = 36;
constexpr int kFlameFrames = 6;
constexpr int kBoltW = 48, kBoltH = 288;
constexpr int kBoltFrames = 3;
constexpr int kJointSize = 56;
constexpr int kJointFrames = 4;

// A flame moving to the right at progress t (0..1 over the loop): a bright
// head near the leading edge and a flickering tail behind it. (x, y) are the
// pixel's centre in 0..1 across the frame.
Rgba FlameMovingRight(float t, float x, float y) {
    const float head = 0.7f, v = (y - 0.5f) * 2.0f;
    const float behind = head - x;
    const float flicker = ValueNoise(x * 5.0f + t * 6.0f, y * 4.0f - t * 3.0f, 31u);
    float half = 0;
    if (behind <= 0)
        half = std::sqrt(std::fmax(0.0f, 0.28f * 0.28f - behind * behind)) / 0.28f * 0.55f;
    else
        half = 0.55f * (1.0f - behind / 0.72f) * (0.75f + 0.5f * flicker);
    const float edge = half > 0 ? std::fabs(v) / half : 2.0f;
    const float a = Clamp01((1.0f - edge) * 3.0f) * Clamp01(1.2f - behind * 1.1f);
    const float heat = Clamp01((1.0f - edge) * (1.0f - Clamp01(behind * 1.4f)) * 1.6f);
    const Rgba core {1.0f, 0.97f, 0.75f, 1.0f}, mid {1.0f, 0.62f, 0.12f, 1.0f}, rim {0.85f, 0.18f, 0.04f, 1.0f};
    Rgba c = heat > 0.5f ? Mix(mid, core, (heat - 0.5f) * 2.0f) : Mix(rim, mid, heat * 2.0f);
    c.a = a;
    return c;
}

// A frame of the flame turned for its direction: `map` takes the pixel of the
// turned frame to the pixel of the right-moving one.
Image FlameFrame(float t, const std::function<void(float&, float&)>& map) {
    Image img(kFlameSize, kFlameSize);
    for (int py = 0; py < kFlameSize; ++py)
        for (int px = 0; px < kFlameSize; ++px) {
            float x = (px + 0.5f) / kFlameSize, y = (py + 0.5f) / kFlameSize;
            map(x, y);
            img.At(px, py) = FlameMovingRight(t, x, y);
        }
    return img;
}

void WriteFlame(const std::string& data_dir, const char* name, const std::function<void(float&, float&)>& map) {
    SpriteSheet sheet(kFlameSize, kFlameSize, kFlameFrames);
    for (int f = 0; f < kFlameFrames; ++f) sheet.Add(FlameFrame(static_cast<float>(f) / kFlameFrames, map));
    AnimationOptions options;
    options.speed = 3;
    options.start_frame = 0;
    const std::string base = std::string("Textures\\Bonus\\flame_") + name;
    sheet.Write(data_dir, base + ".png", base + ".xml", options);
}

// Distance from a point to a segment.
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? Clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0.0f;
    const float qx = ax + dx * t - px, qy = ay + dy * t - py;
    return std::sqrt(qx * qx + qy * qy);
}

// A jagged bolt from the top edge down to the frame's centre (where the
// struck ball lies), with a glow around it and a spark at its end.
Image BoltFrame(uint32_t seed) {
    std::vector<float> xs;
    const int kinks = 12;
    for (int i = 0; i <= kinks; ++i) {
        const float swing = i == kinks ? 0.0f : (LatticeHash(i, 0, seed) - 0.5f) * 26.0f;
        xs.push_back(kBoltW / 2.0f + swing * (0.4f + 0.6f * static_cast<float>(i % 2)));
    }
    const float bottom = kBoltH / 2.0f;
    Image img(kBoltW, kBoltH);
    for (int py = 0; py < kBoltH; ++py)
        for (int px = 0; px < kBoltW; ++px) {
            const float x = px + 0.5f, y = py + 0.5f;
            float d = 1e9f;
            for (int i = 0; i < kinks; ++i) {
                const float y0 = bottom * i / kinks, y1 = bottom * (i + 1) / kinks;
                d = std::fmin(d, SegmentDistance(x, y, xs[static_cast<size_t>(i)], y0, xs[static_cast<size_t>(i) + 1], y1));
            }
            const float sx = x - kBoltW / 2.0f, sy = y - bottom;
            const float spark = std::exp(-(sx * sx + sy * sy) / 60.0f);
            const float core = Clamp01(2.2f - d), glow = std::exp(-d * d / 40.0f) * 0.7f;
            const float a = Clamp01(core + glow + spark);
            const float white = Clamp01(core + spark);
            img.At(px, py) = Rgba {0.55f + 0.45f * white, 0.7f + 0.3f * white, 1.0f, a};
        }
    return img;
}

// The flash where the bolt lands: a white core and a ring that widens.
Image JointFrame(float t) {
    Image img(kJointSize, kJointSize);
    for (int py = 0; py < kJointSize; ++py)
        for (int px = 0; px < kJointSize; ++px) {
            const float x = (px + 0.5f) / kJointSize * 2.0f - 1.0f, y = (py + 0.5f) / kJointSize * 2.0f - 1.0f;
            const float r = std::sqrt(x * x + y * y);
            const float ang = std::atan2(y, x);
            const float rays = std::pow(std::fabs(std::cos(3.0f * ang + t * 2.0f)), 12.0f) * Clamp01(1.0f - r);
            const float core = std::exp(-r * r * 9.0f);
            const float ring_r = 0.35f + 0.5f * t;
            const float ring = std::exp(-std::pow((r - ring_r) * 9.0f, 2.0f)) * (1.0f - 0.5f * t);
            const float a = Clamp01(core + ring * 0.8f + rays * 0.7f);
            img.At(px, py) = Rgba {0.75f + 0.25f * core, 0.85f + 0.15f * core, 1.0f, a};
        }
    return img;
}

void GenerateBonusEffects(const std::string& data_dir) {
    // The horizontal pictures are named after the side the tail points to,
    // the vertical ones after the way the flame moves.
    WriteFlame(data_dir, "left", [](float&, float&) {});
    WriteFlame(data_dir, "right", [](float& x, float&) { x = 1.0f - x; });
    WriteFlame(data_dir, "up", [](float& x, float& y) {
        const float u = 1.0f - y;
        y = x;
        x = u;
    });
    WriteFlame(data_dir, "down", [](float& x, float& y) {
        const float u = y;
        y = x;
        x = u;
    });

    SpriteSheet bolt(kBoltW, kBoltH, kBoltFrames);
    for (int f = 0; f < kBoltFrames; ++f) bolt.Add(BoltFrame(static_cast<uint32_t>(101 + f * 17)));
    AnimationOptions bolt_options;
    bolt_options.speed = 3;
    bolt_options.start_frame = 0;
    bolt.Write(data_dir, "Textures\\Bonus\\lightning_bolt.png", "Textures\\Bonus\\lightning_bolt.xml", bolt_options);

    SpriteSheet joint(kJointSize, kJointSize, kJointFrames);
    for (int f = 0; f < kJointFrames; ++f) joint.Add(JointFrame(static_cast<float>(f) / kJointFrames));
    AnimationOptions joint_options;
    joint_options.speed = 3;
    joint_options.start_frame = 0;
    joint.Write(data_dir, "Textures\\Bonus\\lightning_joint.png", "Textures\\Bonus\\lightning_joint.xml",
                joint_options);
}

}  // namespace

ASSET_GENERATOR("bonus_effects_art", GenerateBonusEffects);

}  // namespace assetgen
