#pragma once
// The nine-piece frame of a control kind (four borders, four corners and a
// glass fill, all from one texture) and its layout as quads.
#include <string>

#include "engine/float_rect.h"

class CXMLNode;
class CTexturedRectsList;

struct FramePiece {
    int width = 0;
    int height = 0;
    CFloatRect tex_rect;  // texture pixels
};

struct FrameCorner {
    int width = 0;
    int height = 0;
    CFloatRect tex_rect;
    int dis_x = 0;
    int dis_y = 0;
};

struct FrameSkin {
    FramePiece top, bottom, left, right;
    FrameCorner top_left, top_right, bottom_left, bottom_right;
    bool tiled = false;
    CFloatRect glass;
    int mg_top = 0, mg_bottom = 0, mg_left = 0, mg_right = 0;
    std::string texture;
};

// Sizes and offsets of skins and other kind pieces are kept within this many
// pixels, so the sums and products of a layout stay far inside an int.
constexpr int kMaxSkinPixels = 4096;
// A size attribute (0 by default) within [0, kMaxSkinPixels].
int ReadSkinSize(const CXMLNode& node, const char* name);
// An offset or margin attribute (0 by default) within +-kMaxSkinPixels.
int ReadSkinOffset(const CXMLNode& node, const char* name);

// Reads a skin from a kind node: "texture", "Borders/Top|Bottom|Left|Right",
// "Corners/TopLeft|TopRight|BottomLeft|BottomRight" and "Glass". Missing nodes
// give pieces of width 0, which are not drawn.
FrameSkin LoadFrameSkin(const CXMLNode& node);

// Fills `list` (whose texture is already the skin's) with the frame around
// `rect`: the glass, then the top, bottom, left and right borders, then the
// corners, so corners lie over borders and borders over the glass. Every
// coordinate is truncated to a whole pixel; border pieces never stretch.
void BuildFrame(CTexturedRectsList& list, const CFloatRect& rect, const FrameSkin& skin);
