// The level backgrounds: one layered set per look, each under
// Textures\Backgrounds\<set>\ — sky.png (800x600, static), clouds.png,
// far.png and near.png (800 wide strips that repeat seamlessly, for layers
// that scroll to the left) and objects.png (64x64 drifting pictures: petal,
// leaf, seed, in a row; a snowflake, an ice star and a seed in the winter
// look). A set is a handful of parameters, so a new episode look is one more
// entry in Sets(); the trailing ones (tree shape, far ridge, snow, aurora)
// default to the first sets' rolling hills with round trees.
// Settings\TileBase.xml lists the objects group by group in the same order.
#include <algorithm>
#include <cmath>
#include <functional>
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

enum class Trees { Round, Pines };
// The far layer's skyline: rolling hills, hills crested by a forest, or peaks.
enum class Ridge { Hills, Forest, Peaks };

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
    // Looks added for the later episodes; zero keeps the first sets' look.
    Trees trees = Trees::Round;
    Ridge ridge = Ridge::Hills;
    float snow = 0;     // 0..1: snow on the ground, the peaks and the trees
    float aurora = 0;   // 0..1: northern lights across the upper sky
    bool winter_objects = false;  // snowflake, ice star, seed instead of petal, leaf, seed
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
        // The forest: sunset behind a far forest, pines in the foreground.
        {"forest", 0x1E2E5A, 0xF4A468, 0xFFE2A0, 430, 400, 44, 0.35f, 0xF8A888, 0.75f, 0x4E4470, 0x8A6A88,
         0x2E4A2E, 0x0E1C12, 0x1C3E26, 0xFFC860, 0xC8662C, 53u, Trees::Pines, Ridge::Forest},
        // The winter night: moon, stars and northern lights over snowy peaks and firs.
        {"winter", 0x050B22, 0x2C4C7C, 0xF2F6FF, 170, 118, 30, 1.0f, 0xB8C8E8, 0.3f, 0x7C92BC, 0x3E5484,
         0xF4F8FF, 0x9CB0D4, 0x1A3A3A, 0xFFFFFF, 0xD8F0FF, 71u, Trees::Pines, Ridge::Peaks, 1.0f, 0.85f, true},
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

// Northern lights: a wavering curtain of green rays, fading up into violet.
Rgba Aurora(const Rgba& c, float x, float y, const BackgroundSet& s) {
    const float wave = 150.0f + 45.0f * std::sin(x * 2.0f * kPi / 800.0f * 1.5f + 0.6f) +
                       18.0f * std::sin(x * 2.0f * kPi / 800.0f * 4.0f + 2.0f);
    const float below = y - wave;  // the curtain's lower edge is its brightest
    if (below > 12.0f || below < -170.0f) return c;
    const float rays = 0.35f + 0.65f * ValueNoise(x * 0.045f, 0.5f, s.seed + 9) * ValueNoise(x * 0.011f, 3.5f, s.seed + 4);
    const float height = below > 0 ? std::exp(-below * below / 30.0f) : std::exp(below / 70.0f);
    const float a = Clamp01(s.aurora * rays * height * 0.75f);
    const Rgba tint = Mix(Rgb(0x5CFFB0), Rgb(0x9A6CFF), Clamp01(-below / 150.0f));
    return Rgba {Clamp01(c.r + tint.r * a), Clamp01(c.g + tint.g * a), Clamp01(c.b + tint.b * a), 1};
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
            if (s.aurora > 0) c = Aurora(c, static_cast<float>(x), static_cast<float>(y), s);
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

// A range of peaks that repeats every kStrip pixels: the highest of a few
// straight-sided summits (distances wrap round the strip) over a low floor.
float Peaks(float x, uint32_t seed, float base, float amplitude) {
    float h = base + amplitude * 0.35f;
    constexpr int kPeaks = 7;
    for (int i = 0; i < kPeaks; ++i) {
        const float px = (static_cast<float>(i) + LatticeHash(i, 31, seed) * 0.7f) * kStrip / kPeaks;
        float d = std::fabs(x - px);
        d = std::min(d, kStrip - d);
        const float top = base - amplitude * (0.4f + 0.6f * LatticeHash(i, 32, seed));
        const float slope = 0.55f + 0.35f * LatticeHash(i, 33, seed);
        h = std::min(h, top + d * slope);
    }
    return h;
}

using HeightProfile = std::function<float(float x)>;

// A strip of land: below the repeating height profile, shaded from `top`
// at the ridge to `bottom` `depth` pixels down.
Image Hills(int height, const HeightProfile& profile, uint32_t top_rgb, uint32_t bottom_rgb, float depth) {
    Image img(kStrip, height);
    const Rgba top = Rgb(top_rgb), bottom = Rgb(bottom_rgb);
    for (int x = 0; x < kStrip; ++x) {
        const float h = profile(static_cast<float>(x));
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

HeightProfile RollingHills(uint32_t seed, float base, float amplitude) {
    return [=](float x) { return Profile(x, seed, base, amplitude); };
}

// A conifer of three stacked tiers on a short trunk, its foot at (x, ground),
// `h` tall; `snow` lays a white rim along each tier's upper edges.
void Pine(Image& img, float x, float ground, float h, const Rgba& crown, const Rgba& trunk, float snow) {
    FillShape(img, Box(x - h * 0.05f, ground - h * 0.2f, x + h * 0.05f, ground + 4), trunk);
    for (int tier = 0; tier < 3; ++tier) {
        const float t = static_cast<float>(tier);
        const float bottom = ground - h * (0.12f + 0.27f * t), top = bottom - h * (0.5f - 0.06f * t);
        const float half = h * (0.36f - 0.08f * t);
        const Sdf cone = Polygon({{x - half, bottom}, {x + half, bottom}, {x, top}});
        FillShape(img, cone, LinearGradient(x - half, top, Shade(crown, 0.22f), x + half, bottom, Shade(crown, -0.3f)));
        if (snow > 0) {
            // What the cone covers beyond a copy of itself moved down: a rim along its slopes.
            const float drop = h * 0.06f;
            const Sdf lower = [=](float px, float py) { return cone(px, py - drop); };
            FillShape(img, Subtract(cone, lower), Rgba {0.95f, 0.97f, 1.0f, snow});
        }
    }
}

// Distant land: a hazy silhouette whose top edge repeats every kStrip pixels;
// rolling hills, hills under a serrated line of far firs, or snow-capped peaks.
Image FarHills(const BackgroundSet& s) {
    if (s.ridge == Ridge::Peaks) {
        const HeightProfile peaks = [&s](float x) { return Peaks(x, s.seed, 110.0f, 100.0f); };
        Image img = Hills(240, peaks, s.far_top, s.far_bottom, 150.0f);
        // Snow from each summit down to a ragged line.
        for (int x = 0; x < kStrip; ++x) {
            const float h = peaks(static_cast<float>(x));
            const float line = 62.0f + 14.0f * ValueNoise(static_cast<float>(x) * 0.08f, 1.0f, s.seed);
            for (int y = static_cast<int>(h); y < 240 && y < line; ++y) {
                Rgba& p = img.At(x, y);
                const float alpha = p.a;
                p = Mix(p, Rgb(0xF4F8FF), s.snow * Smooth(line, line - 6.0f, static_cast<float>(y)));
                p.a = alpha;
            }
        }
        return img;
    }
    Image img = Hills(240, RollingHills(s.seed, 90.0f, 70.0f), s.far_top, s.far_bottom, 150.0f);
    if (s.ridge == Ridge::Forest) {
        // A dense line of small firs along the ridge, drawn again across the seam.
        const Rgba fir = Rgb(s.far_top);
        for (int i = 0; i < 110; ++i) {
            const float x = (static_cast<float>(i) + LatticeHash(i, 41, s.seed)) * kStrip / 110.0f;
            const float h = 12.0f + 14.0f * LatticeHash(i, 42, s.seed);
            const float ground = Profile(x, s.seed, 90.0f, 70.0f) + 3.0f;
            for (float shift : {-static_cast<float>(kStrip), 0.0f, static_cast<float>(kStrip)})
                FillShape(img, Polygon({{x + shift - h * 0.3f, ground}, {x + shift + h * 0.3f, ground}, {x + shift, ground - h}}),
                          fir);
        }
    }
    return img;
}

// Near hills with round tree crowns or pines; trees near the seam are drawn on both ends.
Image NearHills(const BackgroundSet& s) {
    Image img = Hills(200, RollingHills(s.seed + 5, 110.0f, 50.0f), s.near_top, s.near_bottom, 90.0f);
    const Rgba crown = Rgb(s.crown);
    for (int i = 0; i < 9; ++i) {
        const float x = (static_cast<float>(i) + LatticeHash(i, 1, s.seed) * 0.6f) * kStrip / 9.0f;
        const float r = 16.0f + 14.0f * LatticeHash(i, 2, s.seed);
        const float ground = Profile(x, s.seed + 5, 110.0f, 50.0f);
        for (float shift : {-static_cast<float>(kStrip), 0.0f, static_cast<float>(kStrip)}) {
            const float cx = x + shift;
            if (cx < -r * 2 || cx > kStrip + r * 2) continue;
            if (s.trees == Trees::Pines) {
                // As tall as the strip leaves room for above the ground (the tip is 1.04 heights up).
                const float h = std::min(r * 3.4f, (ground - 3.0f) / 1.04f);
                Pine(img, cx, ground, h, crown, Shade(Rgb(s.crown), -0.5f), s.snow);
                continue;
            }
            const Sdf trunk = Box(cx - 2.5f, ground - r, cx + 2.5f, ground + 6);
            FillShape(img, trunk, Shade(Rgb(s.near_bottom), -0.3f));
            const Sdf tree = Union(Circle(cx, ground - r * 1.4f, r),
                                   Union(Circle(cx - r * 0.6f, ground - r, r * 0.7f), Circle(cx + r * 0.6f, ground - r, r * 0.7f)));
            FillShape(img, tree, LinearGradient(cx - r, ground - r * 2.4f, Shade(crown, 0.25f), cx + r, ground, Shade(crown, -0.25f)));
        }
    }
    return img;
}

// A seed tuft: white hairs round a brown seed.
Image SeedTuft() {
    Image seed(64, 64);
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * kPi / 6.0f;
        const Sdf hair = Capsule(32, 32, 32 + std::cos(a) * 18, 32 + std::sin(a) * 18, 0.6f);
        FillShape(seed, hair, Rgba {1, 1, 1, 0.8f});
        FillShape(seed, Circle(32 + std::cos(a) * 18, 32 + std::sin(a) * 18, 1.6f), Rgba {1, 1, 1, 0.9f});
    }
    FillShape(seed, Circle(32, 32, 2.5f), Rgb(0x8A7050));
    return seed;
}

// A six-armed snowflake with side branches, and a four-pointed ice star.
Image Snowflake() {
    Image img(64, 64);
    for (int i = 0; i < 6; ++i) {
        const float a = static_cast<float>(i) * kPi / 3.0f;
        const float dx = std::cos(a), dy = std::sin(a);
        Sdf arm = Capsule(32, 32, 32 + dx * 20, 32 + dy * 20, 1.6f);
        for (float along : {9.0f, 14.0f}) {
            const float bx = 32 + dx * along, by = 32 + dy * along;
            const float len = along < 10 ? 6.0f : 4.5f;
            for (float turn : {-1.0f, 1.0f}) {
                const float b = a + turn * kPi / 3.0f;
                arm = Union(arm, Capsule(bx, by, bx + std::cos(b) * len, by + std::sin(b) * len, 1.1f));
            }
        }
        FillShape(img, arm, Rgb(0xFFFFFF, 0.95f));
    }
    StrokeShape(img, Circle(32, 32, 3.5f), 1.2f, Rgb(0xFFFFFF));
    return img;
}

Image IceStar() {
    Image img(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float dx = (x + 0.5f - 32.0f) / 32.0f, dy = (y + 0.5f - 32.0f) / 32.0f;
            const float d = std::hypot(dx, dy);
            const float rays = (std::exp(-std::pow(dx * 12.0f, 2.0f)) + std::exp(-std::pow(dy * 12.0f, 2.0f))) * Clamp01(1.0f - d);
            const float a = Clamp01(rays + 0.8f * std::exp(-d * d * 60.0f));
            img.At(x, y) = Rgba {0.85f, 0.95f, 1.0f, a};
        }
    return img;
}

// objects.png, 192x64: a petal, a leaf and a seed tuft, 64x64 each (in the
// winter look a snowflake and an ice star take the petal's and the leaf's places).
Image Objects(const BackgroundSet& s) {
    Image img(192, 64);
    if (s.winter_objects) {
        img.Draw(Snowflake(), 0, 0);
        img.Draw(IceStar(), 64, 0);
        img.Draw(SeedTuft(), 128, 0);
        return img;
    }
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

    img.Draw(SeedTuft(), 128, 0);
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
