// The field's move markers (Textures\Common\): the hover frame drawn over
// the ball under the mouse (mouse_over.tga, 36 x 36, see CMouseOverMarker)
// and the marker of an available move (available_move.tga), named by
// //GameCFG/AvailableMove in Settings\GameCFG.xml: "Vertical" at
// "0 0 32 64" stands across the border of two cells of one row, "Horizontal"
// at "64 0 128 32" across the border of two cells of one column. Change them
// together.
#include <string>

#include "draw.h"
#include "generator_registry.h"
#include "image_writer.h"

namespace assetgen {

namespace {

const Rgba kFrameLight = Rgb(0xFFF4C0);
const Rgba kFrameGold = Rgb(0xF2C14E);
const Rgba kInk = Rgb(0x1A1C28, 0.8f);

// A rounded golden frame with bright corner ticks, open in the middle so
// the ball shows through.
Image HoverFrame() {
    Image img(36, 36);
    const Sdf outer = RoundedBox(1.5f, 1.5f, 34.5f, 34.5f, 7.0f);
    const Sdf ring = Subtract(outer, RoundedBox(4.5f, 4.5f, 31.5f, 31.5f, 5.0f));
    FillShape(img, Offset(ring, 0.8f), kInk);
    FillShape(img, ring, LinearGradient(0, 0, kFrameLight, 36, 36, kFrameGold));
    for (float cx : {5.0f, 31.0f})
        for (float cy : {5.0f, 31.0f}) FillShape(img, Circle(cx, cy, 2.2f), Rgb(0xFFFFFF));
    return img;
}

// An upright bar with an arrowhead on each side, pointing at the two cells
// it lies between; 32 x 64.
Image SwapMarker() {
    Image img(32, 64);
    const Sdf bar = RoundedBox(12.0f, 6.0f, 20.0f, 58.0f, 4.0f);
    const Sdf left = Polygon({{2, 32}, {12, 22}, {12, 42}});
    const Sdf right = Polygon({{30, 32}, {20, 22}, {20, 42}});
    const Sdf marker = Union(bar, Union(left, right));
    FillShape(img, Offset(marker, 1.2f), kInk);
    FillShape(img, marker, LinearGradient(0, 6, kFrameLight, 0, 58, kFrameGold));
    Bevel(img, marker, 1.5f, 0.4f);
    return img;
}

// The same marker turned a quarter, 64 x 32.
Image Turned(const Image& src) {
    Image img(src.Height(), src.Width());
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x) img.Set(y, x, src.At(x, y));
    return img;
}

void GenerateFieldMoveMarkers(const std::string& data_dir) {
    WriteTga(DataPath(data_dir, "Textures\\Common\\mouse_over.tga"), HoverFrame());
    Image sheet(128, 64);
    const Image marker = SwapMarker();
    sheet.Draw(marker, 0, 0);
    sheet.Draw(Turned(marker), 64, 0);
    WriteTga(DataPath(data_dir, "Textures\\Common\\available_move.tga"), sheet);
}

}  // namespace

ASSET_GENERATOR("field_move_markers", GenerateFieldMoveMarkers);

}  // namespace assetgen
