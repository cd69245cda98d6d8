#include "gui/frame_skin.h"

#include <algorithm>

#include "engine/game_math.h"
#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_node.h"
#include "graphics/textured_rects_list.h"

namespace {

// Frame coordinates are kept within this many pixels of the screen's origin:
// far outside the 800x600 screen, near enough that a row of one-pixel pieces
// stays a few tens of thousands of quads.
constexpr int kMaxFramePixels = 16384;
// A tiled glass of more tiles than this is drawn stretched instead.
constexpr long kMaxGlassTiles = 65536;

FramePiece ReadPiece(const CXMLNode& node) {
    FramePiece p;
    p.width = ReadSkinSize(node, "width");
    p.height = ReadSkinSize(node, "height");
    p.tex_rect = StrToRect(node.GetAttribute("tex_rect", ""));
    return p;
}

FrameCorner ReadCorner(const CXMLNode& node) {
    FrameCorner c;
    c.width = ReadSkinSize(node, "width");
    c.height = ReadSkinSize(node, "height");
    c.tex_rect = StrToRect(node.GetAttribute("tex_rect", ""));
    c.dis_x = ReadSkinOffset(node, "disX");
    c.dis_y = ReadSkinOffset(node, "disY");
    return c;
}

// A frame coordinate cut to a whole pixel toward zero.
int Whole(float v) { return TruncClamped(v, -kMaxFramePixels, kMaxFramePixels); }

// One quad, its corners cut to whole pixels toward zero.
void AddQuad(CTexturedRectsList& list, float x0, float y0, float x1, float y1, const CFloatRect& tex) {
    list.AddRect(CFloatRect(static_cast<float>(Whole(x0)), static_cast<float>(Whole(y0)), static_cast<float>(Whole(x1)),
                            static_cast<float>(Whole(y1))),
                 tex);
}

}  // namespace

int ReadSkinSize(const CXMLNode& node, const char* name) {
    return std::clamp(node.GetAttributeInt(name, 0), 0, kMaxSkinPixels);
}

int ReadSkinOffset(const CXMLNode& node, const char* name) {
    return std::clamp(node.GetAttributeInt(name, 0), -kMaxSkinPixels, kMaxSkinPixels);
}

FrameSkin LoadFrameSkin(const CXMLNode& node) {
    FrameSkin s;
    s.texture = node.GetAttribute("texture", "");
    s.top = ReadPiece(node.SelectSingleNode("Borders/Top"));
    s.bottom = ReadPiece(node.SelectSingleNode("Borders/Bottom"));
    s.left = ReadPiece(node.SelectSingleNode("Borders/Left"));
    s.right = ReadPiece(node.SelectSingleNode("Borders/Right"));
    s.top_left = ReadCorner(node.SelectSingleNode("Corners/TopLeft"));
    s.top_right = ReadCorner(node.SelectSingleNode("Corners/TopRight"));
    s.bottom_left = ReadCorner(node.SelectSingleNode("Corners/BottomLeft"));
    s.bottom_right = ReadCorner(node.SelectSingleNode("Corners/BottomRight"));
    const CXMLNode glass = node.SelectSingleNode("Glass");
    s.glass = StrToRect(glass.GetAttribute("tex_rect", ""));
    s.mg_left = ReadSkinOffset(glass, "mg_left");
    s.mg_right = ReadSkinOffset(glass, "mg_right");
    s.mg_top = ReadSkinOffset(glass, "mg_top");
    s.mg_bottom = ReadSkinOffset(glass, "mg_bottom");
    s.tiled = glass.GetAttributeBool("tiled", false);
    return s;
}

void BuildFrame(CTexturedRectsList& list, const CFloatRect& rect, const FrameSkin& skin) {
    const float l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    const float w = r - l, h = b - t;
    list.Clear(50);

    // Glass.
    const float gw = skin.glass.Width(), gh = skin.glass.Height();
    if (gw != 0 && gh != 0) {
        const float inner_w = w - static_cast<float>(skin.mg_left + skin.mg_right);
        const float inner_h = h - static_cast<float>(skin.mg_top + skin.mg_bottom);
        const int columns = std::max(0, Whole(inner_w / gw));
        const int rows = std::max(0, Whole(inner_h / gh));
        bool tiled = skin.tiled;
        if (tiled && static_cast<long>(columns) * rows > kMaxGlassTiles) {
            CLogger::Instance().Log(2, "Error: A frame glass of %d x %d tiles is too many, it is stretched!", columns,
                                    rows);
            tiled = false;
        }
        if (tiled) {
            for (int row = 0; row < rows; ++row) {
                for (int col = 0; col < columns; ++col) {
                    const float x0 = gw * static_cast<float>(col) + static_cast<float>(skin.mg_left) + l;
                    const float y0 = gh * static_cast<float>(row) + static_cast<float>(skin.mg_top) + t;
                    AddQuad(list, x0, y0, x0 + gw, y0 + gh, skin.glass);
                }
            }
        } else {
            AddQuad(list, l + static_cast<float>(skin.mg_left), t + static_cast<float>(skin.mg_top),
                    r + static_cast<float>(skin.mg_right), b + static_cast<float>(skin.mg_bottom), skin.glass);
        }
    }

    const FrameCorner& tl = skin.top_left;
    const FrameCorner& tr = skin.top_right;
    const FrameCorner& bl = skin.bottom_left;
    const FrameCorner& br = skin.bottom_right;

    // A horizontal border: pieces of the border's own width from x0 toward x1.
    auto horizontal = [&](const FramePiece& piece, float fx0, float fx1, float y0, float y1) {
        if (piece.width == 0) return;
        const int x0 = Whole(fx0), x1 = Whole(fx1);
        const int count = (x1 - x0) / piece.width;
        for (int i = 0; i < count; ++i)
            AddQuad(list, static_cast<float>(x0 + i * piece.width), y0, static_cast<float>(x0 + (i + 1) * piece.width),
                    y1, piece.tex_rect);
    };
    // A vertical border: a column of pieces of the border's own height. A
    // border with a width but no height has nothing to repeat and is skipped.
    auto vertical = [&](const FramePiece& piece, float fy0, float fy1, float x0) {
        if (piece.width == 0 || piece.height == 0) return;
        const int y0 = Whole(fy0), y1 = Whole(fy1);
        const int count = (y1 - y0) / piece.height;
        for (int i = 0; i < count; ++i)
            AddQuad(list, x0, static_cast<float>(y0 + i * piece.height), x0 + static_cast<float>(piece.width),
                    static_cast<float>(y0 + (i + 1) * piece.height), piece.tex_rect);
    };

    horizontal(skin.top, static_cast<float>(tl.dis_x) + l + static_cast<float>(tl.width),
               static_cast<float>(tr.dis_x) + r - static_cast<float>(tr.width), t, t + static_cast<float>(skin.top.height));
    horizontal(skin.bottom, static_cast<float>(bl.dis_x) + l + static_cast<float>(bl.width),
               static_cast<float>(br.dis_x) + r - static_cast<float>(br.width),
               b - static_cast<float>(skin.bottom.height), b);
    vertical(skin.left, static_cast<float>(tl.dis_y) + t + static_cast<float>(tl.height),
             static_cast<float>(bl.dis_y) + b - static_cast<float>(bl.height), l);
    vertical(skin.right, static_cast<float>(tr.dis_y) + t + static_cast<float>(tr.height),
             static_cast<float>(br.dis_y) + b - static_cast<float>(br.height), r - static_cast<float>(skin.right.width));

    auto corner = [&](const FrameCorner& c, float x, float y) {
        if (c.width == 0 || c.height == 0) return;
        AddQuad(list, x, y, x + static_cast<float>(c.width), y + static_cast<float>(c.height), c.tex_rect);
    };
    corner(tl, l + static_cast<float>(tl.dis_x), t + static_cast<float>(tl.dis_y));
    corner(tr, r - static_cast<float>(tr.width) + static_cast<float>(tr.dis_x), t + static_cast<float>(tr.dis_y));
    corner(bl, l + static_cast<float>(bl.dis_x), b - static_cast<float>(bl.height) + static_cast<float>(bl.dis_y));
    corner(br, r - static_cast<float>(br.width) + static_cast<float>(br.dis_x),
           b - static_cast<float>(br.height) + static_cast<float>(br.dis_y));
}
