#pragma once
// The "graphics" block that almost every drawable in the data files carries:
//   <graphics texture="Textures\Ball.tga" width="36" height="36" color="FFFFFFFF"
//             tex_rect="0 0 64 64"><animation file="..." frames="8" speed="10"/></graphics>
#include <cstdint>
#include <string>

#include "engine/float_rect.h"

class CXMLNode;

struct CGraphicsDesc {
    std::string texture;
    std::string animation_file;
    uint32_t color = 0xFFFFFFFF;  // ARGB, alpha in the top byte
    int width = 0;
    int height = 0;
    int frames = 0;
    int speed = 0;
    CFloatRect tex_rect;  // source rectangle on the texture, in texels
};

// Reads the child "graphics" of `node`; a missing block (or attribute) gives the
// defaults: no texture, 0 x 0, opaque white, zero rectangle, no animation. A
// negative width or height logs a failed check and is kept.
CGraphicsDesc ParseGraphics(const CXMLNode& node);
