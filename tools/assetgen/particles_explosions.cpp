// The sprite explosions of Settings\Explosions.xml: frame strips under
// Textures\Explosions\ with their one-shot animation files beside them.
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "generator_registry.h"
#include "image_writer.h"
#include "value_noise.h"

namespace assetgen {

namespace {

constexpr int kFrame = 64;


// A strip of `frames` frames; `pixel` gets the frame's progress t (0..1) and
// centred coordinates (-1..1).
Image Strip(int frames, const std::function<Rgba(float t, float x, float y)>& pixel) {
    Image img(kFrame * frames, kFrame);
    for (int f = 0; f < frames; ++f) {
        const float t = frames > 1 ? static_cast<float>(f) / (frames - 1) : 0.0f;
        for (int y = 0; y < kFrame; ++y)
            for (int x = 0; x < kFrame; ++x) {
                const float u = (x + 0.5f) / kFrame * 2.0f - 1.0f;
                const float v = (y + 0.5f) / kFrame * 2.0f - 1.0f;
                img.At(f * kFrame + x, y) = pixel(t, u, v);
            }
    }
    return img;
}

Rgba Burst(float t, float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    // Noise on the unit circle has no seam where the angle wraps.
    const float ang = std::atan2(y, x);
    const float n = ValueNoise(std::cos(ang) * 2.0f + 10.0f, std::sin(ang) * 2.0f + t * 3.0f, 5u);
    // A fireball that swells and burns out, ringed by a shock wave.
    const float radius = 0.25f + 0.6f * std::sqrt(t);
    const float ball = Smooth(radius * (0.8f + 0.3f * n), radius * 0.3f, r) * (1.0f - t * t);
    const float heat = Smooth(radius, 0.0f, r) * (1.0f - t);
    const float shock_r = 0.3f + 0.65f * t;
    const float shock = std::exp(-std::pow((r - shock_r) * 14.0f, 2.0f)) * (1.0f - t) * 0.8f;
    const Rgba hot {1.0f, 0.95f, 0.7f, 1.0f}, mid {1.0f, 0.6f, 0.15f, 1.0f}, cool {0.7f, 0.15f, 0.05f, 1.0f};
    Rgba c = heat > 0.5f ? Mix(mid, hot, (heat - 0.5f) * 2.0f) : Mix(cool, mid, heat * 2.0f);
    c.a = Clamp01(ball + shock);
    if (shock > ball) c = Mix(c, Rgba {1.0f, 0.85f, 0.5f, c.a}, Clamp01(shock - ball));
    c.a = Clamp01(ball + shock);
    return c;
}

Rgba Puff(float t, float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    const float n = ValueNoise(x * 3.0f + 3.0f, y * 3.0f - t * 2.0f, 17u);
    const float radius = 0.35f + 0.55f * t;
    const float body = Smooth(radius * (0.85f + 0.3f * n), radius * 0.2f, r);
    const float grey = 0.8f + 0.15f * n - 0.15f * y;
    return Rgba {grey, grey * 0.97f, grey * 0.92f, Clamp01(body * (0.85f - 0.85f * t) * (0.6f + 0.4f * n))};
}

Rgba Sparkle(float t, float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    const float ang = std::atan2(y, x) + t * 1.2f;
    const float size = std::sin(t * 3.14159f) * 0.9f + 0.1f;
    const float rays = std::pow(std::fabs(std::cos(2.0f * ang)), 30.0f) * Clamp01(1.0f - r / size);
    const float core = std::exp(-r * r / (0.02f + 0.05f * size));
    const Rgba c {1.0f, 0.95f, 0.6f + 0.4f * core, Clamp01((rays + core) * (1.0f - 0.3f * t))};
    return c;
}

Rgba Flash(float, float x, float y) {
    const float r = std::sqrt(x * x + y * y);
    return Rgba {1.0f, 1.0f, 0.85f, Clamp01(std::exp(-r * r * 5.0f) * Smooth(1.0f, 0.8f, r))};
}

std::string AnimationXml(int frames, int delay) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
                      "<!-- One-shot explosion: plays once from the first frame. -->\n";
    xml += "<Animation speed=\"" + std::to_string(delay) + "\" animate_once=\"1\" start_frame=\"0\">\n";
    for (int f = 0; f < frames; ++f)
        xml += "  <Frame tex_rect=\"" + std::to_string(f * kFrame) + " 0 " + std::to_string((f + 1) * kFrame) + " " +
               std::to_string(kFrame) + "\"/>\n";
    xml += "</Animation>\n";
    return xml;
}

void GenerateExplosions(const std::string& data_dir) {
    const struct {
        const char* name;
        int frames;
        int delay;
        Rgba (*pixel)(float, float, float);
    } strips[] = {
        {"burst", 10, 2, Burst},
        {"puff", 8, 3, Puff},
        {"sparkle", 8, 2, Sparkle},
        {"flash", 1, 3, Flash},
    };
    for (const auto& s : strips) {
        const std::string base = std::string("Textures\\Explosions\\") + s.name;
        WritePng(DataPath(data_dir, base + ".png"), Strip(s.frames, s.pixel));
        WriteText(DataPath(data_dir, base + ".xml"), AnimationXml(s.frames, s.delay));
    }
}

}  // namespace

ASSET_GENERATOR("particles_explosions", GenerateExplosions);

}  // namespace assetgen
