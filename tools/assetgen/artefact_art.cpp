// The artefact pictures under Textures\Artefacts\ (see artefact_designs.h for
// the drawings and their cell grid). For each artefact, in <name>\:
//   color.png     144x192  the completed artefact;
//   grey.png      144x192  the same in dull stone, with faint seams along the
//                          cell edges, shown while fragments are missing;
//   blink.png     144x192  a white silhouette for the completion flash;
//   glow.png      208x256  a soft halo for additive drawing, 32 pixels wider
//                          than the picture on every side (offset -32 -32);
//   icon.png      48x48    the artefact small;
//   fragment.png  34x34    the fragment ball: a piece of the artefact under
//                          glass in a gold rim, one ball wide.
// And panel.png, 176x224: the gold-rimmed glass the artefact sits on, 16
// pixels from its edges. Cell (column c, row r) of the grid is the rectangle
// "48c 48r 48c+48 48r+48" of the pictures; the ten cells are every cell but
// (0, 0) and (2, 0).
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "artefact_designs.h"
#include "generator_registry.h"
#include "gui_style.h"
#include "image_writer.h"

namespace assetgen::artefact {

namespace {

constexpr int kGlowMargin = 32;
constexpr int kIcon = 48;
constexpr int kBall = 34;
constexpr int kPanelMargin = 16;

float Luma(const Rgba& c) { return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b; }

// An area-averaged reduction by a whole factor (colour weighted by alpha).
Image Shrink(const Image& src, int factor) {
    Image out(src.Width() / factor, src.Height() / factor);
    const float n = static_cast<float>(factor * factor);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            Rgba sum;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    const Rgba& p = src.At(x * factor + i, y * factor + j);
                    sum.r += p.r * p.a;
                    sum.g += p.g * p.a;
                    sum.b += p.b * p.a;
                    sum.a += p.a;
                }
            out.At(x, y) = sum.a > 0 ? Rgba {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / n} : Rgba {};
        }
    return out;
}

// The picture's colour at a point between pixels (bilinear, alpha weighted).
Rgba Sample(const Image& img, float x, float y) {
    const int x0 = static_cast<int>(std::floor(x - 0.5f)), y0 = static_cast<int>(std::floor(y - 0.5f));
    const float fx = x - 0.5f - static_cast<float>(x0), fy = y - 0.5f - static_cast<float>(y0);
    Rgba sum;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            if (!img.Contains(x0 + i, y0 + j)) continue;
            const float w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const Rgba& p = img.At(x0 + i, y0 + j);
            sum.r += p.r * p.a * w;
            sum.g += p.g * p.a * w;
            sum.b += p.b * p.a * w;
            sum.a += p.a * w;
        }
    return sum.a > 0 ? Rgba {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a} : Rgba {};
}

// The picture with each pixel's colour replaced; the alpha is `paint`'s to set.
Image Recolour(const Image& src, const std::function<Rgba(const Rgba&)>& paint) {
    Image img(src.Width(), src.Height());
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) img.At(x, y) = paint(src.At(x, y));
    return img;
}

// Dull stone of the same forms: the colour's lightness between a cool dark and
// a pale grey, with engraved seams along the cell edges inside the artefact.
Image Grey(const Image& colour) {
    const Rgba dark = Rgb(0x2E323A), pale = Rgb(0xB4BAC4);
    Image img = Recolour(colour, [&](const Rgba& c) {
        Rgba g = Mix(dark, pale, 0.08f + 0.8f * Luma(c));
        g.a = c.a;
        return g;
    });
    // A seam: the last pixel before a cell edge darker, the first after it lighter.
    const auto seam = [&img](int x0, int y0, int x1, int y1) {
        if (!img.Contains(x0, y0) || !img.Contains(x1, y1)) return;
        Rgba& a = img.At(x0, y0);
        Rgba& b = img.At(x1, y1);
        const float k = std::min(a.a, b.a);
        a = Mix(a, Shade(a, -0.45f), k);
        b = Mix(b, Shade(b, 0.25f), k);
    };
    for (int edge = kCell; edge < kWidth; edge += kCell)
        for (int y = 0; y < kHeight; ++y) seam(edge - 1, y, edge, y);
    for (int edge = kCell; edge < kHeight; edge += kCell)
        for (int x = 0; x < kWidth; ++x) seam(x, edge - 1, x, edge);
    return img;
}

Image Blink(const Image& colour) {
    return Recolour(colour, [](const Rgba& c) { return Rgba {1, 1, 1, c.a * (0.55f + 0.45f * Luma(c))}; });
}

Image Glow(const Image& colour, uint32_t rgb) {
    Image halo(colour.Width() + 2 * kGlowMargin, colour.Height() + 2 * kGlowMargin);
    const Rgba tint = Rgb(rgb);
    for (int y = 0; y < colour.Height(); ++y)
        for (int x = 0; x < colour.Width(); ++x)
            halo.At(x + kGlowMargin, y + kGlowMargin) = Rgba {tint.r, tint.g, tint.b, colour.At(x, y).a};
    return Recolour(Blur(halo, 9), [&](const Rgba& p) {
        Rgba c = Mix(tint, Rgba {1, 1, 1, 1}, 0.5f * p.a * p.a);
        c.a = Clamp01(p.a * 1.7f) * 0.85f;
        return c;
    });
}

Image Icon(const Image& colour) {
    Image icon(kIcon, kIcon);
    const Image small = Shrink(colour, kHeight / kIcon);
    icon.Draw(small, (kIcon - small.Width()) / 2, (kIcon - small.Height()) / 2);
    return icon;
}

// Drawn four times larger and reduced, for clean edges at ball size.
Image FragmentBall(const Design& d, const Image& colour) {
    constexpr int kScale = 4;
    constexpr float size = kBall * kScale, c = size / 2.0f, r = c - 3.0f;
    Image big(kBall * kScale, kBall * kScale);
    const Rgba deep = Shade(Rgb(d.glow), -0.72f);
    const float k = d.fragment_span / (2.0f * r);
    const Paint piece = [&](float x, float y) {
        const Rgba p = Sample(colour, d.fragment_centre.x + (x - c) * k, d.fragment_centre.y + (y - c) * k);
        Rgba out = Mix(deep, p, p.a);
        out.a = 1;
        return out;
    };
    const Sdf disc = Circle(c, c, r);
    FillShape(big, disc, piece);
    // Glass: darker toward the edge, a bright reflection at the upper left.
    const Paint edge = [=](float x, float y) {
        return Rgba {0, 0, 0.05f, 0.6f * Clamp01((std::hypot(x - c, y - c) / r - 0.55f) / 0.45f)};
    };
    FillShape(big, disc, edge);
    const Sdf reflection = Rotate(Ellipse(c - 0.3f * r, c - 0.42f * r, 0.46f * r, 0.26f * r), c, c, -30.0f);
    FillShape(big, reflection, LinearGradient(c, c - 0.7f * r, Rgba {1, 1, 1, 0.7f}, c, c - 0.1f * r, Rgba {1, 1, 1, 0}));
    const Sdf rim = Subtract(disc, Circle(c, c, r - 3.0f * kScale));
    FillShape(big, rim, LinearGradient(0, 0, gui::GoldLight(), size, size, gui::GoldDark()));
    Bevel(big, rim, 1.5f * kScale, 0.5f);
    StrokeShape(big, disc, 1.0f * kScale, gui::Outline());
    return Shrink(big, kScale);
}

Image Panel() {
    const int w = kWidth + 2 * kPanelMargin, h = kHeight + 2 * kPanelMargin;
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    Image img(w, h);
    const Sdf body = RoundedBox(1, 1, fw - 1, fh - 1, 16);
    FillShape(img, body, LinearGradient(0, 0, gui::GlassTop(), 0, fh, gui::GlassBottom()));
    const Sdf well = RoundedBox(10, 10, fw - 10, fh - 10, 10);
    FillShape(img, well, RadialGradient(fw / 2, fh * 0.45f, fh * 0.6f, Rgb(0x2A3C7A, 0.95f), Rgb(0x0A1032, 0.95f)));
    StrokeShape(img, Offset(well, 0.5f), 1.5f, Rgb(0xC89B45, 0.85f));
    const Paint sheen = [=](float x, float y) { return Rgba {1, 1, 1, 0.08f * Clamp01(1.0f - (x * 0.4f + y) / fh)}; };
    FillShape(img, body, sheen);
    gui::GoldRing(img, 1, 1, fw - 1, fh - 1, 16, 8);
    return img;
}

void Generate(const std::string& data_dir) {
    for (const Design& d : Designs()) {
        const Image colour = d.draw();
        const std::string dir = std::string("Textures\\Artefacts\\") + d.name + "\\";
        WritePng(DataPath(data_dir, dir + "color.png"), colour);
        WritePng(DataPath(data_dir, dir + "grey.png"), Grey(colour));
        WritePng(DataPath(data_dir, dir + "blink.png"), Blink(colour));
        WritePng(DataPath(data_dir, dir + "glow.png"), Glow(colour, d.glow));
        WritePng(DataPath(data_dir, dir + "icon.png"), Icon(colour));
        WritePng(DataPath(data_dir, dir + "fragment.png"), FragmentBall(d, colour));
    }
    WritePng(DataPath(data_dir, "Textures\\Artefacts\\panel.png"), Panel());
}

}  // namespace

ASSET_GENERATOR("artefact_art", Generate);

}  // namespace assetgen::artefact
