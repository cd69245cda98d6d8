// The particle textures of the effect library (Textures\Plume\*.png): white
// shapes whose alpha carries the form, tinted by the particles' colours.
// plumec packs them into Textures\Plume\Effects.plume.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "generator_registry.h"
#include "image_writer.h"
#include "value_noise.h"

namespace assetgen {

namespace {

constexpr int kSize = 64;
constexpr float kPi = 3.14159265f;

float Fbm(float x, float y, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < 4; ++o) {
        sum += ValueNoise(x, y, seed + o) * amp;
        norm += amp;
        x *= 2.0f;
        y *= 2.0f;
        amp *= 0.5f;
    }
    return sum / norm;
}

// Fills a texture from a function of the centred coordinates (-1..1) that
// gives white's alpha and a grey level.
Image Shape(const std::function<void(float x, float y, float* grey, float* alpha)>& f) {
    Image img(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize * 2.0f - 1.0f;
            const float v = (y + 0.5f) / kSize * 2.0f - 1.0f;
            float grey = 1.0f, alpha = 0.0f;
            f(u, v, &grey, &alpha);
            img.At(x, y) = Rgba {Clamp01(grey), Clamp01(grey), Clamp01(grey), Clamp01(alpha)};
        }
    return img;
}

Image SoftDot() {
    return Shape([](float x, float y, float*, float* a) {
        const float r = std::sqrt(x * x + y * y);
        const float fall = Clamp01(1.0f - r);
        *a = fall * fall * (0.6f + 0.4f * fall) + 0.35f * Smooth(0.45f, 0.0f, r);
    });
}

Image Glow() {
    return Shape([](float x, float y, float*, float* a) {
        const float r2 = x * x + y * y;
        *a = std::exp(-r2 * 4.5f) * Smooth(1.0f, 0.85f, std::sqrt(r2));
    });
}

Image Spark() {
    return Shape([](float x, float y, float*, float* a) {
        // A streak along x with a hot head to the right.
        const float along = std::exp(-std::pow(std::fabs(x - 0.15f) / 0.8f, 2.0f) * 2.0f);
        const float across = std::exp(-(y * y) / (0.012f + 0.02f * Clamp01(0.6f - x)));
        *a = along * across * Smooth(1.0f, 0.9f, std::fabs(x)) * Smooth(1.0f, 0.9f, std::fabs(y) * 3.0f);
    });
}

Image Star() {
    return Shape([](float x, float y, float*, float* a) {
        const float r = std::sqrt(x * x + y * y);
        const float ang = std::atan2(y, x);
        const float rays4 = std::pow(std::fabs(std::cos(2.0f * ang)), 24.0f) * Clamp01(1.0f - r);
        const float rays8 = 0.45f * std::pow(std::fabs(std::cos(2.0f * ang + kPi / 2.0f)), 30.0f) *
                            Clamp01(1.0f - 1.6f * r);
        const float core = std::exp(-r * r * 30.0f);
        const float halo = 0.35f * std::exp(-r * r * 6.0f);
        *a = (rays4 + rays8 + core + halo) * Smooth(1.0f, 0.9f, r);
    });
}

Image FlamePuff() {
    return Shape([](float x, float y, float* g, float* a) {
        const float r = std::sqrt(x * x + y * y);
        const float n = Fbm(x * 2.2f + 5.0f, y * 2.2f + 9.0f, 11u);
        const float edge = 0.55f + 0.45f * n;
        *a = Smooth(edge, edge * 0.35f, r) * (0.75f + 0.25f * n);
        *g = 0.85f + 0.15f * Smooth(0.7f, 0.0f, r);
    });
}

Image Smoke() {
    return Shape([](float x, float y, float* g, float* a) {
        const float r = std::sqrt(x * x + y * y);
        const float n = Fbm(x * 1.8f + 2.0f, y * 1.8f + 7.0f, 29u);
        *a = Smooth(0.95f, 0.15f, r) * (0.35f + 0.65f * n) * 0.85f;
        *g = 0.72f + 0.28f * Fbm(x * 3.0f, y * 3.0f, 41u) - 0.12f * y;
    });
}

Image Ring() {
    return Shape([](float x, float y, float*, float* a) {
        const float r = std::sqrt(x * x + y * y);
        const float d = std::fabs(r - 0.72f);
        *a = std::exp(-d * d * 180.0f) + 0.25f * std::exp(-d * d * 25.0f) * Smooth(0.95f, 0.8f, r);
    });
}

Image Shard() {
    Image img(kSize, kSize);
    // An irregular five-sided chip, lit from the upper left.
    const float px[5] = {-0.55f, 0.25f, 0.7f, 0.35f, -0.45f};
    const float py[5] = {-0.35f, -0.7f, -0.05f, 0.6f, 0.45f};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float u = (x + 0.5f) / kSize * 2.0f - 1.0f;
            const float v = (y + 0.5f) / kSize * 2.0f - 1.0f;
            float inside = 1e9f;  // distance inside the convex outline (negative outside)
            for (int i = 0; i < 5; ++i) {
                const int j = (i + 1) % 5;
                const float ex = px[j] - px[i], ey = py[j] - py[i];
                const float len = std::sqrt(ex * ex + ey * ey);
                const float d = ((u - px[i]) * ey - (v - py[i]) * ex) / len;
                inside = std::min(inside, -d);
            }
            const float a = Clamp01(inside * kSize * 0.5f + 0.5f);
            const float light = 0.75f + 0.25f * Clamp01(-(u + v) * 0.8f) + 0.25f * Smooth(0.12f, 0.0f, inside);
            img.At(x, y) = Rgba {Clamp01(light), Clamp01(light), Clamp01(light), a};
        }
    return img;
}

Image Bolt() {
    // A jagged line across the texture, with its glow, for electric arcs.
    return Shape([](float x, float y, float*, float* a) {
        const float path = 0.18f * std::sin(x * 7.0f) + 0.1f * std::sin(x * 17.0f + 1.3f);
        const float d = std::fabs(y - path);
        *a = (std::exp(-d * d * 900.0f) + 0.4f * std::exp(-d * d * 60.0f)) * Smooth(1.0f, 0.75f, std::fabs(x));
    });
}

void GenerateParticleTextures(const std::string& data_dir) {
    const struct {
        const char* name;
        Image (*make)();
    } textures[] = {
        {"dot", SoftDot}, {"glow", Glow}, {"spark", Spark}, {"star", Star}, {"flame", FlamePuff},
        {"smoke", Smoke}, {"ring", Ring}, {"shard", Shard}, {"bolt", Bolt},
    };
    for (const auto& t : textures)
        WritePng(DataPath(data_dir, std::string("Textures\\Plume\\") + t.name + ".png"), t.make());
}

}  // namespace

ASSET_GENERATOR("particles_textures", GenerateParticleTextures);

}  // namespace assetgen
