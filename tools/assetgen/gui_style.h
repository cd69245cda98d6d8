#pragma once
// The look shared by every GUI skin: a deep blue glass framed by a bevelled
// gold rim, light controls on dark glass, a warm gold for hover. The layouts
// of the textures are the contract with Settings\controls.xml.
#include "draw.h"

namespace assetgen::gui {

// Palette.
inline Rgba GoldLight() { return Rgb(0xFFE9A8); }
inline Rgba GoldMid() { return Rgb(0xD9A441); }
inline Rgba GoldDark() { return Rgb(0x6E4A14); }
inline Rgba Outline() { return Rgb(0x1A1206); }
inline Rgba GlassTop() { return Rgb(0x33488C, 0.94f); }
inline Rgba GlassBottom() { return Rgb(0x121A3E, 0.94f); }
inline Rgba ButtonTop() { return Rgb(0x5A9BDB); }
inline Rgba ButtonBottom() { return Rgb(0x1C407E); }

// A gold ring between the rounded box (l, t, r, b, radius) and the same box
// shrunk by `thickness`: shaded across its width (dark at the outer edge,
// light in the middle), so it does not change along a straight edge and border
// pieces cut from it repeat without seams.
void GoldRing(Image& img, float l, float t, float r, float b, float radius, float thickness);

// A vertical glass gradient with a soft sheen over its upper part.
void GlassFill(Image& img, int x, int y, int w, int h, const Rgba& top, const Rgba& bottom, float sheen);

// A rounded button face of the given size: glass from `top` to `bottom`, a
// gold rim, `glow` > 0 adds a warm inner glow (hover), `sunken` darkens the
// upper edge as if pressed.
Image ButtonFace(int w, int h, const Rgba& top, const Rgba& bottom, float glow, bool sunken);

// A round arrow button of `size` pixels pointing at `degrees` (0 right, 90 down).
Image ArrowButton(int size, float degrees, bool lit);

}  // namespace assetgen::gui
