// The mouse cursors of Settings\Mouse.xml: an arrow ("default") and the
// hammer the player takes from the tool panel ("hammer"), 32x32 each.
#include <string>

#include "draw.h"
#include "generator_registry.h"
#include "image_writer.h"

namespace assetgen {

namespace {

Image Arrow() {
    Image img(32, 32);
    // The tip lies at (1, 1): the hot spot.
    const Sdf shape = Polygon({{1, 1}, {1, 23}, {6.5f, 18}, {10.5f, 26.5f}, {14, 25}, {10, 16.5f}, {17, 16.5f}});
    FillShape(img, shape, LinearGradient(1, 1, Rgb(0xFFFFFF), 12, 26, Rgb(0xC8D4E8)));
    Bevel(img, Offset(shape, -1), 3, 0.25f);
    StrokeShape(img, shape, 1.5f, Rgb(0x10141C));
    DropShadow(img, 2, 2, 1, Rgb(0x000000, 0.45f));
    return img;
}

Image Hammer() {
    Image img(32, 32);
    const Sdf handle = Capsule(7, 29, 19, 13, 2.2f);
    FillShape(img, handle, LinearGradient(5, 25, Rgb(0xB07A40), 10, 29, Rgb(0x6A4420)));
    StrokeShape(img, handle, 1.2f, Rgb(0x2A1808));
    // The head lies across the handle's end, tilted with it.
    const Sdf head = Rotate(RoundedBox(11, 6, 29, 14, 2), 20, 10, 37);
    FillShape(img, head, LinearGradient(14, 4, Rgb(0xE8ECF0), 24, 16, Rgb(0x707880)));
    Bevel(img, Offset(head, -0.5f), 3, 0.4f);
    StrokeShape(img, head, 1.2f, Rgb(0x181C20));
    DropShadow(img, 2, 2, 1, Rgb(0x000000, 0.45f));
    return img;
}

void GenerateCursors(const std::string& data_dir) {
    WritePng(DataPath(data_dir, "Textures\\Cursors\\default.png"), Arrow());
    WritePng(DataPath(data_dir, "Textures\\Cursors\\hammer.png"), Hammer());
}

}  // namespace

ASSET_GENERATOR("cursors", GenerateCursors);

}  // namespace assetgen
