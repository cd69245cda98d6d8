// The level backgrounds: one layered set per look, each under
// Textures\Backgrounds\<set>\ — sky.png (800x600, static), clouds.png,
// far.png and near.png (800 wide strips that repeat seamlessly, for layers
// that scroll to the left) and objects.png (64x64 drifting pictures: petal,
// leaf, seed, in a row). A set is a handful of parameters, so a new episode
// look is one more entry in Sets(). Settings\TileBase.xml lists the objects
// group by group in the same order.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "draw.h"
#include "generator_registry.h"
#include "image_writer.h"
#include "value_noise.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
// A strip as wide as the screen: a scrolling tile wraps by its own width, so
// narrower strips would leave gaps and wider ones jump.
constexpr int kStrip = 800;

struct BackgroundSet {
    const char* name;
    uint32_t sky_top, sky_bottom, sun;
    float sun_x, sun_y, sun_radius;
    float stars;  // 0..1, for the evening sets
    uint32_t cloud;
    float cloud_alpha;
    uint32_t far_top, far_bottom;
    uint32_t near_top, near_bottom, crown;
    uint32_t petal, leaf;
    uint32_t seed;
};

std::vector<BackgroundSet> Sets() {
    return {
        // The meadow: a clear noon over green hills.
        {"meadow", 0x3D7FD6, 0xBFE4F7, 0xFFF6D0, 620, 110, 46, 0.0f, 0xFFFFFF, 0.85f, 0x7FB0C8, 0xA8CCB8,
         0x4F9A3A, 0x2C6424, 0x3E8A30, 0xF6B8D0, 0x8CC850, 11u},
        // The orchard: a warm late afternoon.
        {"orchard", 0xE07A3A, 0xFFD9A0, 0xFFF0B0, 200, 150, 56, 0.0f, 0xFFE4C8, 0.75f, 0xB07860, 0xD8A888,
         0x8A7A2C, 0x4C3E18, 0x9A6A24, 0xFFFFFF, 0xE09030, 23u},
        // The marsh: dusk, mist and the first stars.
        {"marsh", 0x1C1A48, 0x7A6A9C, 0xFFE8C8, 560, 300, 30, 0.8f, 0xC8C0E8, 0.55f, 0x4A4A78, 0x8A84A8,
         0x2C4A40, 0x12241E, 0x24443A, 0xE8E0FF, 0x6A9A60, 37u},
    };
}

// A height profile that repeats every kStrip pixels: a few whole sine cycles.
float Profile(float x, uint32_t seed, float base, float amplitude) {
    float h = 0;
    const int cycles[4] = {1, 2, 3, 5};
    for (int i = 0; i < 4; ++i) {
        const float phase = LatticeHash(static_cast<int>(seed), i, 3u) * 2.0f * kPi;
        h += std::sin(2.0f * kPi * static_cast<float>(cycles[i]) * x / kStrip + phase) / static_cast<float>(i + 1);
    }
    return base - amplitude * h * 0.5f;
}

Image Sky(const BackgroundSet& s) {
    Image img(800, 600);
    const Rgba top = Rgb(s.sky_top), bottom = Rgb(s.sky_bottom), sun = Rgb(s.sun);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            Rgba c = Mix(top, bottom, std::pow(static_cast<float>(y) / 599.0f, 0.8f));
            const float d = std::hypot(x - s.sun_x, y - s.sun_y);
            const float glow = std::exp(-d / (s.sun_radius * 3.0f)) * 0.6f;
            c = Mix(c, sun, Clamp01(glow));
            // A soft disc that melts into its glow.
            c = Mix(c, sun, 0.85f * Smooth(s.sun_radius, s.sun_radius * 0.55f, d));
            if (s.stars > 0 && y < 330) {
                const float n = LatticeHash(x, y, s.seed);
                if (n > 0.9985f) c = Mix(c, Rgba {1, 1, 1, 1}, s.stars * (1.0f - static_cast<float>(y) / 330.0f));
            }
            c.a = 1;
            img.At(x, y) = c;
        }
    return img;
}

// Puffy clouds along a strip that repeats horizontally: clusters of round
// puffs with flat, shaded bottoms, drawn again one strip to each side so that
// a cloud crossing the seam continues on the other end.
Image Clouds(const BackgroundSet& s) {
    // Drawn with a margin on both sides so that the blur wraps too.
    constexpr int kPad = 16;
    Image img(kStrip + 2 * kPad, 200);
    const Rgba color = Rgb(s.cloud);
    const Rgba shade = Shade(color, -0.22f);
    constexpr int kClouds = 6;
    for (int i = 0; i < kClouds; ++i) {
        const float cx = (static_cast<float>(i) + 0.3f + 0.4f * LatticeHash(i, 7, s.seed)) * kStrip / kClouds;
        const float base = 90.0f + 60.0f * LatticeHash(i, 8, s.seed);
        const float scale = 0.7f + 0.5f * LatticeHash(i, 9, s.seed);
        Sdf cloud = Box(cx - 60 * scale, base - 14 * scale, cx + 60 * scale, base);
        for (int k = 0; k < 6; ++k) {
            const float t = static_cast<float>(k) / 5.0f;
            const float r = (18.0f + 20.0f * std::sin(t * kPi) + 6.0f * LatticeHash(i, 20 + k, s.seed)) * scale;
            const float px = cx + (t - 0.5f) * 110.0f * scale;
            cloud = Union(cloud, Circle(px, base - r * 0.75f, r));
        }
        for (float shift : {-static_cast<float>(kStrip), 0.0f, static_cast<float>(kStrip)}) {
            const Sdf moved = [cloud, shift](float x, float y) { return cloud(x - shift - kPad, y); };
            const Paint paint = [=](float, float y) {
                Rgba c = Mix(color, shade, Clamp01((y - (base - 40.0f * scale)) / (40.0f * scale)));
                c.a = s.cloud_alpha;
                return c;
            };
            FillShape(img, moved, paint);
        }
    }
    return Blur(img, 2).Crop(kPad, 0, kStrip, 200);
}

// A strip of land: below the repeating height profile, shaded from `top`
// at the ridge to `bottom` `depth` pixels down.
Image Hills(int height, uint32_t seed, float base, float amplitude, uint32_t top_rgb, uint32_t bottom_rgb, float depth) {
    Image img(kStrip, height);
    const Rgba top = Rgb(top_rgb), bottom = Rgb(bottom_rgb);
    for (int x = 0; x < kStrip; ++x) {
        const float h = Profile(static_cast<float>(x), seed, base, amplitude);
        for (int y = 0; y < height; ++y) {
            const float cover = Clamp01(static_cast<float>(y) + 0.5f - h);
            if (cover <= 0) continue;
            Rgba c = Mix(top, bottom, Clamp01((static_cast<float>(y) - h) / depth));
            c.a = cover;
            img.At(x, y) = c;
        }
    }
    return img;
}

// Distant hills: a hazy silhouette whose top edge repeats every kStrip pixels.
Image FarHills(const BackgroundSet& s) { return Hills(240, s.seed, 90.0f, 70.0f, s.far_top, s.far_bottom, 150.0f); }

// Near hills with round tree crowns; crowns near the seam are drawn on both ends.
Image NearHills(const BackgroundSet& s) {
    Image img = Hills(200, s.seed + 5, 110.0f, 50.0f, s.near_top, s.near_bottom, 90.0f);
    const Rgba crown = Rgb(s.crown);
    for (int i = 0; i < 9; ++i) {
        const float x = (static_cast<float>(i) + LatticeHash(i, 1, s.seed) * 0.6f) * kStrip / 9.0f;
        const float r = 16.0f + 14.0f * LatticeHash(i, 2, s.seed);
        const float ground = Profile(x, s.seed + 5, 110.0f, 50.0f);
        for (float shift : {-static_cast<float>(kStrip), 0.0f, static_cast<float>(kStrip)}) {
            const float cx = x + shift;
            if (cx < -r * 2 || cx > kStrip + r * 2) continue;
            const Sdf trunk = Box(cx - 2.5f, ground - r, cx + 2.5f, ground + 6);
            FillShape(img, trunk, Shade(Rgb(s.near_bottom), -0.3f));
            const Sdf tree = Union(Circle(cx, ground - r * 1.4f, r),
                                   Union(Circle(cx - r * 0.6f, ground - r, r * 0.7f), Circle(cx + r * 0.6f, ground - r, r * 0.7f)));
            FillShape(img, tree, LinearGradient(cx - r, ground - r * 2.4f, Shade(crown, 0.25f), cx + r, ground, Shade(crown, -0.25f)));
        }
    }
    return img;
}

// objects.png, 192x64: a petal, a leaf and a seed tuft, 64x64 each.
Image Objects(const BackgroundSet& s) {
    Image img(192, 64);
    const Sdf petal = Rotate(Ellipse(32, 32, 10, 18), 32, 32, 25.0f);
    FillShape(img, petal, RadialGradient(30, 28, 20, Rgb(0xFFFFFF), Rgb(s.petal)));
    StrokeShape(img, petal, 1.0f, Shade(Rgb(s.petal), -0.4f));

    Image leaf(64, 64);
    const Sdf blade = Rotate(Intersect(Circle(22, 32, 22), Circle(42, 32, 22)), 32, 32, -35.0f);
    FillShape(leaf, blade, LinearGradient(16, 16, Shade(Rgb(s.leaf), 0.25f), 48, 48, Shade(Rgb(s.leaf), -0.3f)));
    const Sdf vein = Intersect(Rotate(Capsule(14, 32, 50, 32, 0.7f), 32, 32, -35.0f), blade);
    FillShape(leaf, vein, Shade(Rgb(s.leaf), -0.45f));
    StrokeShape(leaf, blade, 1.0f, Shade(Rgb(s.leaf), -0.55f));
    img.Draw(leaf, 64, 0);

    Image seed(64, 64);
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * kPi / 6.0f;
        const Sdf hair = Capsule(32, 32, 32 + std::cos(a) * 18, 32 + std::sin(a) * 18, 0.6f);
        FillShape(seed, hair, Rgba {1, 1, 1, 0.8f});
        FillShape(seed, Circle(32 + std::cos(a) * 18, 32 + std::sin(a) * 18, 1.6f), Rgba {1, 1, 1, 0.9f});
    }
    FillShape(seed, Circle(32, 32, 2.5f), Rgb(0x8A7050));
    img.Draw(seed, 128, 0);
    return img;
}

void Generate(const std::string& data_dir) {
    for (const BackgroundSet& s : Sets()) {
        const std::string dir = std::string("Textures\\Backgrounds\\") + s.name + "\\";
        WritePng(DataPath(data_dir, dir + "sky.png"), Sky(s));
        WritePng(DataPath(data_dir, dir + "clouds.png"), Clouds(s));
        WritePng(DataPath(data_dir, dir + "far.png"), FarHills(s));
        WritePng(DataPath(data_dir, dir + "near.png"), NearHills(s));
        WritePng(DataPath(data_dir, dir + "objects.png"), Objects(s));
    }
}

}  // namespace

ASSET_GENERATOR("game_backgrounds", Generate);

}  // namespace assetgen
