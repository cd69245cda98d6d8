// The GUI skins of Settings\controls.xml, each a small atlas under
// Textures\GUI\. The rectangles named in the comments are the ones the kinds
// file reads; change both together.
#include <string>

#include "generator_registry.h"
#include "gui_style.h"
#include "image_writer.h"

namespace assetgen {

namespace {

using namespace assetgen::gui;

// panel.png, 128x64: the panel frame drawn as one 64x64 rim (corners 24x24;
// the kinds file cuts 4-pixel border pieces next to them) at (0,0), the glass
// 32x64 at (64,0). The panel's glass is opaque: a dialog shown over another
// one (help over the pause panel) must not let the lower one's text through
// its own.
Image PanelAtlas() {
    Image atlas(128, 64);
    Image frame(64, 64);
    GoldRing(frame, 0.5f, 0.5f, 63.5f, 63.5f, 14.0f, 8.0f);
    atlas.Draw(frame, 0, 0);
    Rgba top = GlassTop(), bottom = GlassBottom();
    top.a = bottom.a = 1.0f;
    GlassFill(atlas, 64, 0, 32, 64, top, bottom, 0.14f);
    return atlas;
}

// button.png, 256x256: the button frame rim 48x48 (corners 16x16, border
// pieces 4 long) at (0,0); blue glass 16x48 at (48,0); dark glass 16x48 at (64,0);
// four faces 128x40 (normal, hover, pressed, disabled) at (0, 64 + 40 i).
Image ButtonAtlas() {
    Image atlas(256, 256);
    Image frame(48, 48);
    GoldRing(frame, 0.5f, 0.5f, 47.5f, 47.5f, 9.0f, 4.0f);
    atlas.Draw(frame, 0, 0);
    GlassFill(atlas, 48, 0, 16, 48, ButtonTop(), ButtonBottom(), 0.35f);
    GlassFill(atlas, 64, 0, 16, 48, GlassTop(), GlassBottom(), 0.18f);
    atlas.Draw(ButtonFace(128, 40, ButtonTop(), ButtonBottom(), 0.0f, false), 0, 64);
    atlas.Draw(ButtonFace(128, 40, Rgb(0x7DB8EE), Rgb(0x2A5CA4), 0.55f, false), 0, 104);
    atlas.Draw(ButtonFace(128, 40, Rgb(0x3C74B8), Rgb(0x173464), 0.0f, true), 0, 144);
    atlas.Draw(ButtonFace(128, 40, Rgb(0x8A8E96), Rgb(0x4C5058), 0.0f, false), 0, 184);
    return atlas;
}

// checkbox.png, 64x32: the box 28x28 at (0,0), the check mark 28x28 at (32,0).
Image CheckBoxAtlas() {
    Image atlas(64, 32);
    Image box(28, 28);
    const Sdf outer = RoundedBox(1.0f, 1.0f, 27.0f, 27.0f, 6.0f);
    const Sdf well = RoundedBox(4.0f, 4.0f, 24.0f, 24.0f, 3.5f);
    GoldRing(box, 1.0f, 1.0f, 27.0f, 27.0f, 6.0f, 3.5f);
    FillShape(box, well, LinearGradient(0, 4, Rgb(0x0C1230), 0, 24, Rgb(0x2A3C78)));
    // Inner shadow at the top of the well: it reads as sunk into the panel.
    const Paint shade = [=](float, float y) {
        return Rgba {0.0f, 0.0f, 0.05f, 0.5f * Clamp01(1.0f - (y - 4.0f) / 6.0f)};
    };
    FillShape(box, well, shade);
    StrokeShape(box, outer, 1.0f, Outline());
    atlas.Draw(box, 0, 0);

    Image check(28, 28);
    const Sdf mark = Union(Capsule(7.0f, 14.5f, 12.0f, 20.0f, 2.8f), Capsule(12.0f, 20.0f, 22.5f, 6.0f, 2.8f));
    FillShape(check, mark, LinearGradient(6, 6, Rgb(0xB8FF8C), 20, 22, Rgb(0x2FA84A)));
    Bevel(check, mark, 2.0f, 0.35f);
    StrokeShape(check, mark, 1.2f, Rgb(0x0C2A10));
    DropShadow(check, 1, 2, 1, Rgb(0x000000, 0.55f));
    atlas.Draw(check, 32, 0);
    return atlas;
}

// A thumb: a small gold block with three grip lines along its long side.
Image Thumb(int w, int h, bool lit) {
    Image img(w, h);
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    const Sdf body = RoundedBox(1.0f, 1.0f, fw - 1.0f, fh - 1.0f, 4.0f);
    const Rgba light = lit ? Rgb(0xFFF6D0) : GoldLight();
    const Rgba dark = lit ? Rgb(0xE8B04C) : GoldMid();
    FillShape(img, body, LinearGradient(0, 0, light, fw, fh, dark));
    Bevel(img, body, 2.5f, 0.45f);
    const bool wide = w > h;
    for (int i = -1; i <= 1; ++i) {
        const float o = static_cast<float>(i) * 3.0f;
        const Sdf grip = wide ? Capsule(4.0f, fh / 2 + o, fw - 4.0f, fh / 2 + o, 0.6f)
                              : Capsule(fw / 2 + o, 4.0f, fw / 2 + o, fh - 4.0f, 0.6f);
        FillShape(img, grip, Rgb(0x6E4A14, 0.8f));
    }
    StrokeShape(img, body, 1.0f, Outline());
    return img;
}

// trackbar.png, 128x128. Horizontal kind: left arrow 24x24 normal (0,0) and
// hover (24,0), right arrow (48,0) and (72,0), thumb 16x24 (96,0) and (112,0),
// groove piece 8x10 at (0,56). Vertical kind: up arrow (0,24) and (24,24),
// down arrow (48,24) and (72,24), thumb 24x16 (96,24) and (96,40), groove
// piece 10x8 at (16,56).
Image TrackBarAtlas() {
    Image atlas(128, 128);
    const float dirs[4] = {180.0f, 0.0f, 270.0f, 90.0f};  // left, right, up, down
    for (int d = 0; d < 4; ++d) {
        const int x = (d % 2) * 48, y = (d / 2) * 24;
        atlas.Draw(ArrowButton(24, dirs[d], false), x, y);
        atlas.Draw(ArrowButton(24, dirs[d], true), x + 24, y);
    }
    atlas.Draw(Thumb(16, 24, false), 96, 0);
    atlas.Draw(Thumb(16, 24, true), 112, 0);
    atlas.Draw(Thumb(24, 16, false), 96, 24);
    atlas.Draw(Thumb(24, 16, true), 96, 40);
    // Grooves: dark glass between gold lines, the same all along.
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 10; ++j) {
            const Rgba c = (j == 0 || j == 9) ? GoldMid()
                           : (j == 1 || j == 8) ? GoldDark()
                                                : Mix(Rgb(0x0A1028), Rgb(0x26367A), static_cast<float>(j - 2) / 5.0f);
            atlas.Set(i, 56 + j, c);
            atlas.Set(16 + j, 56 + i, c);
        }
    }
    return atlas;
}

// progressbar.png, 256x64: the frame rim 24x24 (corners 8x8, border pieces 4
// long) at (0,0); its glass 8x24 at (24,0); the linear fill 200x14 at (0,32); a
// discrete cell 14x14 at (208,32); the leading-end glow 16x16 at (228,32).
// The fills are near white: the bar tints them with its colour.
Image ProgressBarAtlas() {
    Image atlas(256, 64);
    Image frame(24, 24);
    GoldRing(frame, 0.5f, 0.5f, 23.5f, 23.5f, 6.0f, 3.0f);
    atlas.Draw(frame, 0, 0);
    GlassFill(atlas, 24, 0, 8, 24, Rgb(0x0A0F26, 0.96f), Rgb(0x1C2856, 0.96f), 0.0f);
    GlassFill(atlas, 0, 32, 200, 14, Rgb(0xFFFFFF), Rgb(0xA8A8A8), 0.0f);
    // Soft diagonal stripes and a bright upper edge.
    for (int j = 0; j < 14; ++j)
        for (int i = 0; i < 200; ++i) {
            Rgba& p = atlas.At(i, 32 + j);
            if (((i + j) / 6) % 2 == 0) p = Shade(p, -0.08f);
            if (j == 1 || j == 2) p = Shade(p, 0.5f);
        }
    Image cell(14, 14);
    const Sdf body = RoundedBox(1.0f, 1.0f, 13.0f, 13.0f, 3.0f);
    FillShape(cell, body, LinearGradient(0, 1, Rgb(0xFFFFFF), 0, 13, Rgb(0xB0B0B0)));
    Bevel(cell, body, 2.0f, 0.4f);
    StrokeShape(cell, body, 1.0f, Rgb(0x303030, 0.9f));
    atlas.Draw(cell, 208, 32);
    Image glow(16, 16);
    FillShape(glow, Circle(8, 8, 8), RadialGradient(8, 8, 8, Rgba {1, 1, 0.9f, 1}, Rgba {1, 0.9f, 0.5f, 0}));
    atlas.Draw(glow, 228, 32);
    return atlas;
}

void GenerateGuiSkins(const std::string& data_dir) {
    WritePng(DataPath(data_dir, "Textures\\GUI\\panel.png"), PanelAtlas());
    WritePng(DataPath(data_dir, "Textures\\GUI\\button.png"), ButtonAtlas());
    WritePng(DataPath(data_dir, "Textures\\GUI\\checkbox.png"), CheckBoxAtlas());
    WritePng(DataPath(data_dir, "Textures\\GUI\\trackbar.png"), TrackBarAtlas());
    WritePng(DataPath(data_dir, "Textures\\GUI\\progressbar.png"), ProgressBarAtlas());
    // The list box's selection bar: plain white, tinted where it is drawn.
    WriteTga(DataPath(data_dir, "Textures\\Common\\square.tga"), Image(8, 8, Rgb(0xFFFFFF)));
}

}  // namespace

ASSET_GENERATOR("gui_skins", GenerateGuiSkins);

}  // namespace assetgen
