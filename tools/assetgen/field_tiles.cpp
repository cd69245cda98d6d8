// The tiles under the balls (Textures\Field\vovaro_tiles.png): two base
// tiles of dark glass, and four puzzle layers drawn as stacks of one to four
// coloured plates, so that each hit visibly takes the top plate off; each
// layer has a glint animation (tile_layer_%d.xml) that plays once only a few
// puzzle cells are left. Also the fire over the lowest row (tile_fire.png
// with tile_fire.xml, a short loop) and the skin of the puzzle progress bar
// (Textures\Field\puzzle_bar.png). Settings\Bases\Tiles.XML,
// Settings\Bases\Common.xml and Settings\controls.xml name these rectangles;
// change them together.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "generator_registry.h"
#include "gui_style.h"
#include "image_writer.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kFrame = 64;
constexpr int kColumns = 8;
constexpr int kGlintFrames = 8;
constexpr int kLayers = 4;
constexpr float kPi = 3.14159265f;

struct PlateColor {
    uint32_t light, dark;
};

// From the lowest plate of a stack to the highest: amber, jade, azure, ruby.
const PlateColor kPlates[kLayers] = {
    {0xF7CF7A, 0xB0761C},
    {0xA4EBC0, 0x24805A},
    {0xA6D2FF, 0x2A5AB4},
    {0xFFA6B4, 0xA4203E},
};

constexpr float kStackStep = 4.0f;  // how far each lower plate shows past the one above

// Base tile: deep blue glass with a bevel and a faint inner line; `lift`
// brightens it for the second tile of a checkerboard.
Image BaseTile(float lift) {
    Image img(kFrame, kFrame);
    const Sdf tile = RoundedBox(1.0f, 1.0f, 63.0f, 63.0f, 6.0f);
    FillShape(img, tile, LinearGradient(0, 0, Shade(Rgb(0x3A4C78), lift), 64, 64, Shade(Rgb(0x1A2444), lift)));
    Bevel(img, tile, 3.0f, 0.35f);
    StrokeShape(img, Offset(tile, -6.0f), 1.0f, Rgb(0x8CA8E0, 0.18f));
    StrokeShape(img, tile, 1.0f, Rgb(0x0A0F22, 0.9f));
    return img;
}

// The top plate of a stack of `depth` plates.
Sdf TopPlate(int depth) {
    const float far = 61.0f - kStackStep * static_cast<float>(depth - 1);
    return RoundedBox(3.0f, 3.0f, far, far, 5.0f);
}

// A plate lit from the top left; a lower plate of a stack is kept lighter
// toward its bottom right, where its edge shows.
void Plate(Image& img, const Sdf& plate, const PlateColor& color, bool lower) {
    const Rgba far = lower ? Mix(Rgb(color.light), Rgb(color.dark), 0.45f) : Rgb(color.dark);
    FillShape(img, plate, LinearGradient(0, 0, Rgb(color.light), 64, 64, far));
    Bevel(img, plate, 3.0f, 0.5f);
    StrokeShape(img, plate, 1.0f, Shade(Rgb(color.dark), -0.6f));
}

// A stack of `depth` plates, the highest at the top left, the lower ones
// showing their right and bottom edges; `glint` in 0..1 sweeps a band of
// light over the top plate (below 0: none).
Image LayerTile(int depth, float glint) {
    Image img(kFrame, kFrame);
    // A soft shadow of the whole stack on the tile below.
    const Sdf footprint = RoundedBox(5.0f, 5.0f, 63.0f, 63.0f, 6.0f);
    FillShape(img, footprint, Rgb(0x000000, 0.35f));
    img = Blur(img, 2);
    for (int k = 0; k < depth; ++k) {
        const float shift = kStackStep * static_cast<float>(depth - 1 - k);
        const float far = 61.0f - kStackStep * static_cast<float>(depth - 1);
        Plate(img, RoundedBox(3.0f + shift, 3.0f + shift, far + shift, far + shift, 5.0f), kPlates[k], k < depth - 1);
    }
    const Sdf top = TopPlate(depth);
    const PlateColor& color = kPlates[depth - 1];
    // An engraved ring and four rivets in the corners, which stay visible
    // around a ball.
    StrokeShape(img, Offset(top, -7.0f), 1.5f, Rgb(color.light, 0.7f));
    const float far = 61.0f - kStackStep * static_cast<float>(depth - 1);
    for (float x : {9.5f, far - 6.5f})
        for (float y : {9.5f, far - 6.5f})
            FillShape(img, Circle(x, y, 2.6f), SphereShade(x, y, 2.6f, gui::GoldMid(), 0.5f, 0.8f));
    if (glint >= 0) {
        // The band runs along x + y = const, from the top left corner to the bottom right one.
        const float centre = -20.0f + glint * 160.0f;
        const Paint band = [=](float x, float y) {
            const float d = std::fabs((x + y) - centre);
            return Rgba {1, 1, 1, 0.55f * std::max(0.0f, 1.0f - d / 12.0f)};
        };
        FillShape(img, top, band);
    }
    return img;
}

std::string LayerAnimationXml(const SpriteSheet& sheet, int first_frame) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
        "<!-- A glint over the top plate every second or so; a stopped layer shows frame 0. -->\n"
        "<Animation speed=\"3\" start_frame=\"0\">\n";
    for (int i = 0; i < kGlintFrames; ++i) {
        xml += "  <Frame tex_rect=\"" + sheet.TexRect(first_frame + i) + "\"";
        if (i == 0) xml += " delay=\"60\"";
        xml += "/>\n";
    }
    return xml + "</Animation>\n";
}

// vovaro_tiles.png (8 to a row, 2-pixel gutters, frame i at "66*(i%8)
// 66*(i/8)" plus 64): rows 0 to 3 the layers of one to four plates, each
// row the 8 glint frames (frame 0 plain); row 4 the base tiles, dark at
// "0 264 64 328" and light at "66 264 130 328".
void GenerateTiles(const std::string& data_dir) {
    SpriteSheet sheet(kFrame, kFrame, kColumns);
    for (int depth = 1; depth <= kLayers; ++depth)
        for (int f = 0; f < kGlintFrames; ++f)
            sheet.Add(LayerTile(depth, f == 0 ? -1.0f : static_cast<float>(f - 1) / (kGlintFrames - 2)));
    sheet.Add(BaseTile(0.0f));
    sheet.Add(BaseTile(0.12f));
    WritePng(DataPath(data_dir, "Textures\\Field\\vovaro_tiles.png"), sheet.Compose());
    for (int depth = 1; depth <= kLayers; ++depth)
        WriteText(DataPath(data_dir, "Textures\\Field\\tile_layer_" + std::to_string(depth) + ".xml"),
                  LayerAnimationXml(sheet, (depth - 1) * kGlintFrames));
}

// One frame of the fire: five tongues rising from the bottom edge, each
// swaying and flickering on its own phase, so that frame 8 would be frame 0.
Image FireFrame(int frame, int frames) {
    Image img(kFrame, kFrame);
    const float phase = 2.0f * kPi * static_cast<float>(frame) / static_cast<float>(frames);
    Sdf flames = Box(0, 58, 64, 64);
    const float xs[] = {5.0f, 18.5f, 32.0f, 45.5f, 59.0f};
    const float offsets[] = {0.0f, 2.1f, 4.3f, 1.2f, 3.4f};
    for (int i = 0; i < 5; ++i) {
        const float h = 30.0f + 8.0f * std::sin(phase + offsets[i]) + (i % 2 ? 0.0f : 5.0f);
        const float sway = 3.0f * std::sin(phase * 2.0f + offsets[i]);
        const float w = 8.5f;
        const Sdf tongue =
            Union(Circle(xs[i], 58.0f - w * 0.4f, w),
                  Polygon({{xs[i] - w, 58.0f - w * 0.4f}, {xs[i] + sway, 62.0f - h}, {xs[i] + w, 58.0f - w * 0.4f}}));
        flames = Union(flames, tongue);
    }
    const Paint heat = [](float, float y) {
        const float t = std::clamp((64.0f - y) / 46.0f, 0.0f, 1.0f);  // 0 at the bottom, 1 at the tips
        if (t < 0.3f) return Mix(Rgb(0xFFF6B0, 0.95f), Rgb(0xFFB02E, 0.9f), t / 0.3f);
        if (t < 0.7f) return Mix(Rgb(0xFFB02E, 0.9f), Rgb(0xF0501A, 0.75f), (t - 0.3f) / 0.4f);
        return Mix(Rgb(0xF0501A, 0.75f), Rgb(0xB01E10, 0.0f), (t - 0.7f) / 0.3f);
    };
    FillShape(img, flames, heat);
    // A soft glow around the tongues.
    Image glow = Blur(img, 4);
    for (int y = 0; y < kFrame; ++y)
        for (int x = 0; x < kFrame; ++x) glow.At(x, y).a *= 0.6f;
    glow.Draw(Blur(img, 1), 0, 0);
    return glow;
}

void GenerateFire(const std::string& data_dir) {
    constexpr int kFireFrames = 8;
    SpriteSheet sheet(kFrame, kFrame, kFireFrames);
    for (int f = 0; f < kFireFrames; ++f) sheet.Add(FireFrame(f, kFireFrames));
    AnimationOptions options;
    options.speed = 4;
    sheet.Write(data_dir, "Textures\\Field\\tile_fire.png", "Textures\\Field\\tile_fire.xml", options);
}

// puzzle_bar.png, 512x64: the frame 28x28 at (0,0) (corners 10x10, border
// pieces 4 long), its glass 8x28 at (32,0), the fill 420x12 at (0,32) (a row
// of small plates turning from amber to jade along the bar) and the spark at
// its leading end 24x24 at (424,32).
Image PuzzleBarAtlas() {
    Image atlas(512, 64);
    Image frame(28, 28);
    gui::GoldRing(frame, 0.5f, 0.5f, 27.5f, 27.5f, 9.0f, 4.0f);
    atlas.Draw(frame, 0, 0);
    gui::GlassFill(atlas, 32, 0, 8, 28, Rgb(0x0A1030, 0.92f), Rgb(0x1C2A5C, 0.92f), 0.1f);

    constexpr float kPlate = 14.0f;
    for (int i = 0; i < 30; ++i) {
        const float l = kPlate * static_cast<float>(i);
        const float t = static_cast<float>(i) / 29.0f;
        const Rgba light = Mix(Rgb(kPlates[0].light), Rgb(kPlates[1].light), t);
        const Rgba dark = Mix(Rgb(kPlates[0].dark), Rgb(kPlates[1].dark), t);
        const Sdf plate = RoundedBox(l + 0.5f, 32.5f, l + kPlate - 0.5f, 43.5f, 2.5f);
        FillShape(atlas, plate, LinearGradient(0, 32, light, 0, 44, dark));
        Bevel(atlas, plate, 1.5f, 0.45f);
    }
    const Paint spark = [](float x, float y) {
        const float dx = std::fabs(x - 436.0f), dy = std::fabs(y - 44.0f);
        const float star = std::max(0.0f, 1.0f - std::min(dx * 0.12f + dy, dy * 0.12f + dx) / 3.0f);
        const float glow = std::max(0.0f, 1.0f - std::hypot(dx, dy) / 11.0f);
        return Rgba {1.0f, 0.97f, 0.8f, std::min(1.0f, star + 0.6f * glow * glow)};
    };
    FillShape(atlas, Box(424, 32, 448, 56), spark);
    return atlas;
}

void GenerateFieldTiles(const std::string& data_dir) {
    GenerateTiles(data_dir);
    GenerateFire(data_dir);
    WritePng(DataPath(data_dir, "Textures\\Field\\puzzle_bar.png"), PuzzleBarAtlas());
}

}  // namespace

ASSET_GENERATOR("field_tiles", GenerateFieldTiles);

}  // namespace assetgen
